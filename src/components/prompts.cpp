#include "prompts.h"

PatternFileChooser::~PatternFileChooser() = default;
ModePicker::~ModePicker() = default;
Questions::~Questions() = default;
Notices::~Notices() = default;
