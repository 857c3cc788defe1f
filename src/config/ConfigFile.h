#pragma once
// Names of the configuration file "qzkeepset.ini" (in the Windows
// directory, by the bare file name) and of its sections.

constexpr const char* kConfigFile = "qzkeepset.ini";
constexpr const char* kSectionConfig = "Config";
constexpr const char* kSectionMySql = "MySQL";
