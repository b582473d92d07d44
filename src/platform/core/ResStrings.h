#pragma once
// The compiled string table (generated from resources/strings by rcgen).
namespace vyn::res {

struct StringEntry {
    long id;
    const char* text;
};

extern const StringEntry kStringTable[];  // sorted by id
extern const int kStringCount;

}  // namespace vyn::res
