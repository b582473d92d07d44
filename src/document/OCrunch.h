#pragma once
// Writes tagged records to an open file: the tag, a blank and fields each ended by ';',
// folded onto continuation lines (beginning with a blank) so that lines stay near 64
// characters. Lines end with CR LF.
#include <string>

namespace vyn {

class OCrunch {
public:
    // fd stays the caller's: it is neither closed nor positioned here.
    explicit OCrunch(int fd);
    // Appends the lines to the text instead: a file is then written in one piece, not with a
    // system call per line. The text stays the caller's.
    explicit OCrunch(std::string& sink);
    OCrunch(const OCrunch&) = delete;
    OCrunch& operator=(const OCrunch&) = delete;

    // Starts a record and resets its byte count. A tag number outside 0..30 makes the
    // record fail as a write error would, so that nothing unreadable reaches the file.
    void BeginTag(int tag);
    // An unquoted field (number or name). One that could not be read back (longer than a
    // line may be) makes the record fail.
    void PutField(const std::string& text);
    void PutInt(int value);
    void PutLong(long value);
    // The program's general number form with the current decimal character; NoValue
    // gives an empty field. nan has no form the reader takes back: it fails the record.
    void PutDouble(double value);
    // A quoted text: tab, quote and backslash escaped, other control characters dropped,
    // folded wherever the line grows past 63 characters.
    void PutString(const std::string& text);
    // Writes the pending line and starts a continuation line.
    void Flush();
    // Writes the pending line; the record's byte count, negative after a write error.
    long Finish();

    long GetCount() const { return count_; }
    // A record failed because of a value that is not a number.
    bool HadNotANumber() const { return notANumber_; }

private:
    void Append(const std::string& text) { line_ += text; }
    void WritePending(bool continueAfter);

    int fd_ = -1;
    std::string* sink_ = nullptr;
    std::string line_;  // the pending line
    long count_ = 0;
    bool notANumber_ = false;
};

}  // namespace vyn
