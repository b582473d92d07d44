#pragma once
// Turns the lines of a LineReader into tagged records: a tag and a list of typed fields,
// with continuation lines (those beginning with a blank) joined to the record before them.
#include <string>
#include <vector>

#include "document/LineReader.h"

namespace vyn {

class ICrunch {
public:
    enum FieldKind { kFieldEmpty = 1, kFieldNumber = 2, kFieldText = 4, kFieldName = 8 };

    // Reads the first line ahead and makes the first record ready. A reader in error gives
    // tag -1 with message 3101.
    explicit ICrunch(LineReader& reader);
    ICrunch(const ICrunch&) = delete;
    ICrunch& operator=(const ICrunch&) = delete;

    // Replaces the current record by the next one; nothing once the tag is 0 (QEND or the
    // end of the file) or -1: a block ends there, and whatever follows needs a new tokenizer.
    void NextLine();

    // 0..30; 0 also at the end of the file; -1 after an error.
    int GetTag() const { return tag_; }
    // Tells the end of the file from a QEND record, which both give tag 0.
    bool IsFileEnd() const { return fileEnd_; }
    // The string-table id of the error: 3101 the file cannot be read, 3102 it is damaged.
    int GetMessage() const { return message_; }
    int GetCount() const { return static_cast<int>(fields_.size()); }
    // A field the record lacks reads as "" of kind 0, so that it never passes a kind check.
    const std::string& GetField(int i) const;
    int GetKind(int i) const;
    // Optional sign and decimal digits, anything after them ignored; saturates at the
    // type's limits. A field the record lacks reads as 0.
    int GetInt(int i) const;
    long GetLong(int i) const;
    // ParseDouble of the text (the current decimal character or '.'); NoValue for an
    // empty or missing field and for text that is not a number.
    double GetReal(int i) const;

private:
    bool ReadAhead();
    bool ReadQuoted(std::size_t& pos, std::string& text);
    void Fail(int message);

    LineReader& reader_;
    std::vector<std::string> fields_;
    std::vector<int> kinds_;
    int tag_ = 0;
    int message_ = 0;
    bool done_ = false;
    bool fileEnd_ = false;
    std::string line_;       // the next physical line, already read
    bool lineOverflow_ = false;
};

}  // namespace vyn
