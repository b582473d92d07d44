#pragma once
// The running program for the method library's journeys: no method preselected at start, and
// the library's methods read back as the file holds them.
#include <string>
#include <vector>

#include "ShellTestFixture.h"
#include "document/QMetod.h"
#include "platform/gui/TestHook.h"

struct MethodLibraryShell : ShellFixture {
    MethodLibraryShell() : ShellFixture([] { vyn::gLastMethodOffset = -1; }) {}
    ~MethodLibraryShell()
    {
        // What the closing windows queued is handled before the system folder is forgotten.
        app.reset();
        vyn::TTestHook::ProcessEvents();
    }
};

// The names of the methods the library file lists, in file order.
inline std::vector<std::string> StoredMethodNames()
{
    vyn::QMetod lib;
    lib.List();
    std::vector<std::string> names;
    for (const vyn::QMethodEntry& e : lib.Entries()) names.push_back(e.name);
    return names;
}
