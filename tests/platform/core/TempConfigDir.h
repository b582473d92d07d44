#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace vyn::test {

// A fresh configuration folder for one test, named in VYN_CONFIG_DIR and removed afterwards.
class TempConfigDir {
public:
    TempConfigDir()
    {
        char tmpl[] = "/tmp/vyn-config-XXXXXX";
        path_ = ::mkdtemp(tmpl) ? tmpl : "/tmp/vyn-config-fallback";
        const char* old = std::getenv("VYN_CONFIG_DIR");
        hadOld_ = old != nullptr;
        if (old) old_ = old;
        ::setenv("VYN_CONFIG_DIR", path_.c_str(), 1);
    }
    ~TempConfigDir()
    {
        if (hadOld_)
            ::setenv("VYN_CONFIG_DIR", old_.c_str(), 1);
        else
            ::unsetenv("VYN_CONFIG_DIR");
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_, old_;
    bool hadOld_ = false;
};

}  // namespace vyn::test
