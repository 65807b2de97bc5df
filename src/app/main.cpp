#include "startup/gui/zn7tedsrmain.h"

int main(int argc, char *argv[])
{
    return ZN7TEDSRMain::Main(argc, argv);
}
