// The Windows loader's configuration for parvolin.exe.
//
// SetDefaultDllDirectories keeps the DLLs loaded after it out of the
// program's folder, but the DLLs its import table names, and those they load
// in turn, are loaded before wmain runs. Windows 10 1607 and later search for
// those with DependentLoadFlags: here System32 only, so that a DLL put beside
// a downloaded parvolin.exe under a system DLL's name is never loaded.
//
// GNU ld does not point the header's load configuration entry at this
// record; scripts/set-load-config.py does, right after linking.
#include <windows.h>

namespace {

constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 loadConfiguration() {
    IMAGE_LOAD_CONFIG_DIRECTORY64 configuration{};
    configuration.Size = sizeof configuration;
    // MinGW-w64's headers still name DependentLoadFlags "Reserved1".
    configuration.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return configuration;
}

}  // namespace

// The loader finds it by this name; nothing in the program refers to it.
extern "C" __attribute__((used)) const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used =
    loadConfiguration();
