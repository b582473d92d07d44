#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/core/AtomicFile.h"
#include "platform/core/Registry.h"
#include "TempConfigDir.h"

namespace vyn {
namespace {

const std::string kSetup = "Software\\Talvorne\\Vyn\\Setup";

long SetString(RegRoot root, const std::string& key, const std::string& name, const std::string& text)
{
    return RegSetValue(root, key, name, REG_SZ, text.c_str(), text.size() + 1);
}

std::string GetString(RegRoot root, const std::string& key, const std::string& name)
{
    std::vector<unsigned char> data;
    std::uint32_t type = REG_NONE;
    if (RegQueryValue(root, key, name, &type, data) != ERROR_SUCCESS || data.empty()) return "<missing>";
    return std::string(data.begin(), data.end() - 1);
}

class RegistryTest : public ::testing::Test {
protected:
    test::TempConfigDir dir;
};

TEST_F(RegistryTest, KeysAndTypedValuesRoundTrip)
{
    std::vector<unsigned char> data;
    std::uint32_t type = 0;
    EXPECT_EQ(RegQueryValue(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", &type, data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SetString(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", "x"), ERROR_FILE_NOT_FOUND)
        << "setting a value must not create its key";

    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, kSetup), ERROR_SUCCESS);
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, "software\\TALVORNE"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kSetup)) << "roots are separate";

    const std::string odd = "C:\\Data \"quoted\"\n\t\x01 caf\xC3\xA9";
    ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", odd), ERROR_SUCCESS);
    const unsigned char bin[] = {0, 1, 0xFF, '"', '\n'};
    ASSERT_EQ(RegSetValue(HKEY_LOCAL_MACHINE, kSetup, "VersionBin", REG_BINARY, bin, sizeof bin), ERROR_SUCCESS);
    const std::uint32_t number = 0xDEADBEEF;
    ASSERT_EQ(RegSetValue(HKEY_LOCAL_MACHINE, kSetup, "", REG_DWORD, &number, sizeof number), ERROR_SUCCESS);
    const char noZero[] = {'a', 'b'};  // a text written without its terminating zero stays so
    ASSERT_EQ(RegSetValue(HKEY_LOCAL_MACHINE, kSetup, "Raw", REG_EXPAND_SZ, noZero, sizeof noZero), ERROR_SUCCESS);

    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSetup, "inidatadir"), odd);
    ASSERT_EQ(RegQueryValue(HKEY_LOCAL_MACHINE, kSetup, "VERSIONBIN", &type, data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(data, std::vector<unsigned char>(bin, bin + sizeof bin));
    ASSERT_EQ(RegQueryValue(HKEY_LOCAL_MACHINE, "\\" + kSetup + "\\", "", &type, data), ERROR_SUCCESS);
    std::uint32_t back = 0;
    ASSERT_EQ(data.size(), sizeof back);
    std::memcpy(&back, data.data(), sizeof back);
    EXPECT_EQ(back, number);
    ASSERT_EQ(RegQueryValue(HKEY_LOCAL_MACHINE, kSetup, "Raw", &type, data), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(data, (std::vector<unsigned char>{'a', 'b'}));

    std::vector<std::string> names;
    ASSERT_EQ(RegEnumValues(HKEY_LOCAL_MACHINE, kSetup, names), ERROR_SUCCESS);
    EXPECT_EQ(names, (std::vector<std::string>{"IniDataDir", "VersionBin", "", "Raw"}));
    ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, kSetup, "INIDATADIR", "new"), ERROR_SUCCESS);
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir"), "new");
    ASSERT_EQ(RegDeleteValue(HKEY_LOCAL_MACHINE, kSetup, "raw"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(HKEY_LOCAL_MACHINE, kSetup, "raw"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, DeletingKeys)
{
    const std::string app = "Software\\Talvorne\\Vyn";
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, kSetup), ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, app + "\\Empty"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, app, "ProductName", "Vyn"), ERROR_SUCCESS);

    std::vector<std::string> names;
    ASSERT_EQ(RegEnumKeys(HKEY_LOCAL_MACHINE, app, names), ERROR_SUCCESS);
    EXPECT_EQ(names, (std::vector<std::string>{"Setup", "Empty"}));

    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, app), ERROR_ACCESS_DENIED) << "plain delete with sub-keys";
    EXPECT_EQ(RegDeleteEmptyKey(HKEY_LOCAL_MACHINE, app), ERROR_KEY_HAS_CHILDREN);
    EXPECT_EQ(RegDeleteEmptyKey(HKEY_LOCAL_MACHINE, app + "\\empty"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, kSetup, "v", "x"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteEmptyKey(HKEY_LOCAL_MACHINE, kSetup), ERROR_KEY_HAS_CHILDREN) << "a value is content too";
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kSetup));

    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "Software\\TalvorneX"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTree(HKEY_LOCAL_MACHINE, "Software\\Talvorne"), ERROR_SUCCESS);
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kSetup));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\TalvorneX")) << "a sibling sharing the prefix stays";
    EXPECT_EQ(RegDeleteTree(HKEY_LOCAL_MACHINE, "Software\\Talvorne"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, DamagedStoreIsReportedAndLeftAlone)
{
    const std::string path = RegistryFilePath(HKEY_LOCAL_MACHINE);
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, kSetup), ERROR_SUCCESS);
    std::string good;
    ASSERT_TRUE(ReadWholeFile(path, good));
    const std::string damaged = good + "value \"x\" 1 \"unterminated\n";
    ASSERT_TRUE(WriteFileAtomic(path, damaged));

    std::vector<unsigned char> data;
    EXPECT_EQ(RegQueryValue(HKEY_LOCAL_MACHINE, kSetup, "x", nullptr, data), ERROR_BADDB);
    EXPECT_EQ(SetString(HKEY_LOCAL_MACHINE, kSetup, "y", "z"), ERROR_BADDB);
    EXPECT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, "Other"), ERROR_BADDB);
    std::string after;
    ASSERT_TRUE(ReadWholeFile(path, after));
    EXPECT_EQ(after, damaged);
}

int DieBeforeRename(FileStep step)
{
    if (step == FileStep::Rename) ::raise(SIGKILL);
    return 0;
}

TEST_F(RegistryTest, KilledWriterLeavesOldStoreWhole)
{
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, kSetup), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", "/data"), ERROR_SUCCESS);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetFileFaultHook(&DieBeforeRename);
        SetString(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", "/elsewhere");
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir"), "/data");
    EXPECT_EQ(SetString(HKEY_LOCAL_MACHINE, kSetup, "SysFilesDir", "/sys"), ERROR_SUCCESS);
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir"), "/data");
}

// The program and its installer may write at the same moment; neither may lose the other's values.
TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing)
{
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, kSetup), ERROR_SUCCESS);
    constexpr int kPerWriter = 60;
    pid_t children[2];
    for (int w = 0; w < 2; ++w) {
        children[w] = ::fork();
        ASSERT_GE(children[w], 0);
        if (children[w] == 0) {
            int failures = 0;
            for (int i = 0; i < kPerWriter; ++i) {
                const std::string name = "w" + std::to_string(w) + "_" + std::to_string(i);
                if (SetString(HKEY_LOCAL_MACHINE, kSetup, name, name) != ERROR_SUCCESS) ++failures;
                if (RegCreateKey(HKEY_LOCAL_MACHINE, kSetup + "\\" + name) != ERROR_SUCCESS) ++failures;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t c : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(c, &status, 0), c);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<std::string> values, keys;
    ASSERT_EQ(RegEnumValues(HKEY_LOCAL_MACHINE, kSetup, values), ERROR_SUCCESS);
    ASSERT_EQ(RegEnumKeys(HKEY_LOCAL_MACHINE, kSetup, keys), ERROR_SUCCESS);
    EXPECT_EQ(values.size(), 2u * kPerWriter);
    EXPECT_EQ(keys.size(), 2u * kPerWriter);
    for (int w = 0; w < 2; ++w)
        for (int i = 0; i < kPerWriter; ++i) {
            const std::string name = "w" + std::to_string(w) + "_" + std::to_string(i);
            EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSetup, name), name);
        }
}

}  // namespace
}  // namespace vyn
