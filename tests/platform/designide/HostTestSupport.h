// A headless design host over a copy of a project, its dialogs scripted.
#pragma once

#include "TestSupport.h"
#include "clx/Dialogs.h"
#include "designide/DesignHost.h"
#include "designide/DesignIntf.h"
#include "designide/HostModule.h"
#include "designide/ToolIntf.h"
#include "designide/ToolsAPI.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace hosttest {

inline std::string ReadFile(const std::string& Name) {
    std::ifstream file(Name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

inline void WriteFile(const std::string& Name, const std::string& Bytes) {
    std::ofstream(Name, std::ios::binary) << Bytes;
}

// The bytes of every file of a directory, by name.
inline std::map<std::string, std::string> Snapshot(const std::string& Dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(Dir))
        files[entry.path().filename().string()] = ReadFile(entry.path().string());
    return files;
}

// The palette's entries in order, "Page:Class " each.
inline AnsiString PaletteText() {
    AnsiString text;
    for (const TPaletteEntry& entry : GetPaletteEntries())
        text += entry.Page + ":" + entry.ComponentClass->Name + " ";
    return text;
}

// The example project in a directory of the test's own.
class THostTest : public testing::Test {
protected:
    THostTest() : Guard(Dialogs) {
        std::filesystem::copy(ZX_EXAMPLES_DIR, Dir.Path(),
                              std::filesystem::copy_options::recursive);
    }

    std::string File(const std::string& Name) const { return Dir.File(Name); }
    TDesignModule* Module(const std::string& Name) const { return Host.FindModule(File(Name)); }
    void OpenExample() {
        ASSERT_TRUE(Host.OpenProject(File("Example.dpr")));
        for (const char* unit : {"Main.pas", "Orders.pas", "Data.pas"})
            ASSERT_TRUE(Host.OpenFile(File(unit)));
    }
    // The text of the file's source buffer, read through its reader in
    // blocks of Block bytes; Reads counts the reads.
    std::string ReadSource(const std::string& Name, Integer Block, Integer& Reads) {
        _di_IOTASourceEditor editor =
            Supports<IOTASourceEditor>(Module(Name), IID_IOTASourceEditor);
        _di_IOTAEditReader reader = editor->CreateReader();
        std::string text;
        std::vector<char> buffer(static_cast<std::size_t>(Block));
        Reads = 0;
        for (Integer got = Block; got == Block;) {
            got = reader->GetText(static_cast<Integer>(text.size()), buffer.data(), Block);
            ++Reads;
            text.append(buffer.data(), static_cast<std::size_t>(got));
        }
        return text;
    }

    zxtest::TTempDir Dir;
    TScriptedDialogService Dialogs;
    TDialogServiceGuard Guard;
    TDesignHost Host;
};

} // namespace hosttest
