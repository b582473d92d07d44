#pragma once
// Reads a text file line by line through a buffer of its own and can go back to the start
// of the line just read. Lines end with LF (a CR anywhere is dropped); a Ctrl-Z (byte 26)
// ends the file as its real end does. Every other byte, NUL included, is line content.
#include <cstddef>
#include <string>

namespace vyn {

class LineReader {
public:
    static constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

    // A closed reader: at end and in error until Open.
    LineReader();
    explicit LineReader(const std::string& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Closes any open file and opens path for reading; false (at end, error = the
    // system's error code) when it cannot be opened.
    bool Open(const std::string& path);
    // Reads the given bytes as if they were a file (always succeeds).
    void OpenMemory(std::string bytes);
    // Safe to call repeatedly; the reader is at end afterwards.
    void Close();

    // The next line without its line end: at most size-1 bytes and a terminating 0 in
    // buffer. Returns the number of bytes stored, 0 for an empty line and at the end (the
    // flags tell them apart). A longer line sets the overflow flag and its rest is skipped.
    int ReadLine(char* buffer, int size);
    // The same into a string of at most maxLength bytes.
    std::size_t ReadLine(std::string& line, std::size_t maxLength = kNoLimit);

    // Moves to the file offset, or to the start of the line last read when offset is -1, so
    // that the next ReadLine reads from there. A failure closes the reader in error.
    bool Seek(long offset);

    bool IsEnd() const { return atEnd_; }
    bool IsError() const { return error_ != 0; }
    int GetError() const { return error_; }
    bool IsOverflow() const { return overflow_; }
    // The file offset where the line last read began.
    long GetLineOffset() const { return lineStart_; }

private:
    static constexpr int kChunk = 1022;

    // Reads one line, handing each byte it keeps to store.
    template <class Store>
    std::size_t ReadInto(Store store, std::size_t maxLength);
    bool FillBuffer();
    long RawRead(char* to, std::size_t count);
    bool RawSeek(long offset);
    void Fail(int code);
    void Reset();

    int fd_ = -1;
    bool memory_ = false;
    std::string bytes_;     // the memory-backed "file"
    long filePos_ = 0;      // where the next raw read starts
    char buffer_[kChunk];
    int length_ = 0;        // valid bytes in the buffer
    int cursor_ = 0;
    bool lastChunk_ = false;  // the buffer holds the end of the file
    long bufferOffset_ = 0;
    long lineStart_ = 0;
    int error_ = 0;
    bool atEnd_ = true;
    bool overflow_ = false;
};

}  // namespace vyn
