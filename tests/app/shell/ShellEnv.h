#pragma once
// A fresh configuration and data folder for one test, removed afterwards.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

struct ShellEnv {
    std::string root, config, data;
    ShellEnv()
    {
        char tmpl[] = "/tmp/vyn-shell-XXXXXX";
        root = ::mkdtemp(tmpl);
        config = root + "/config";
        data = root + "/data";
        std::filesystem::create_directories(config);
        ::setenv("VYN_CONFIG_DIR", config.c_str(), 1);
        ::setenv("VYN_DATA_DIR", data.c_str(), 1);
        char cwd[4096];
        saved = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
    }
    ~ShellEnv()
    {
        if (::chdir(saved.c_str()) != 0) {}
        std::filesystem::remove_all(root);
        ::unsetenv("VYN_CONFIG_DIR");
        ::unsetenv("VYN_DATA_DIR");
    }
    std::string saved;
};
