#pragma once

class SystemSettings;
class DataTools;
class IniReader;
class TextTools;

// The shared library objects of one run. Each is created the first time it
// is asked for and lives until the program ends.
class Library
{
public:
    virtual ~Library();
    virtual SystemSettings &systemSettings() = 0;
    virtual DataTools &dataTools() = 0;
    virtual IniReader &iniReader() = 0;
    virtual TextTools &textTools() = 0;
};
