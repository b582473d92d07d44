#include "document/QMetod.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "document/ICrunch.h"
#include "platform/core/Utf8Text.h"
#include "document/LineReader.h"
#include "document/MethodPaths.h"
#include "document/OCrunch.h"
#include "document/PlateFile.h"
#include "document/TagNames.h"
#include "plate/QPlate.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/StringTable.h"

namespace vyn {

long gLastMethodOffset = -1;

namespace {

bool HasTag(const std::string& line, const char* tag)
{
    return line.size() >= 4 && std::memcmp(line.data(), tag, 4) == 0;
}

// The MNAM record of an edited method, folded as the tagged-line writer folds every record.
bool RenderNameLine(const std::string& name, const std::string& comment, std::string& line)
{
    const int fd = ::memfd_create("vyn-mnam", MFD_CLOEXEC);
    if (fd < 0) return false;
    OCrunch out(fd);
    out.BeginTag(kTagMNAM);
    out.PutString(name);
    out.PutString(comment);
    bool ok = out.Finish() >= 0 && ::lseek(fd, 0, SEEK_SET) == 0;
    char buffer[4096];
    ssize_t n;
    while (ok && (n = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0) ok = false;
        else line.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok;
}

}  // namespace

QMetod::QMetod() : QMetod(GetMtwFilePath(), GetMtwTempPath()) {}

QMetod::QMetod(std::string libraryPath, std::string tempPath)
    : library_(std::move(libraryPath)), temp_(std::move(tempPath))
{
}

int QMetod::Fail(int id)
{
    message_ = GetResString(id);
    return id;
}

std::string QMetod::ListStateText() const
{
    return state_ == mlRead ? std::string() : GetResStringStd(967 + state_);
}

int QMetod::FindOffset(long offset) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].offset == offset) return static_cast<int>(i);
    return -1;
}

int QMetod::List()
{
    entries_.clear();
    marked_ = 0;
    edited_ = 0;
    LineReader r;
    if (!r.Open(library_)) {
        state_ = r.GetError() == ENOENT ? mlNoFile : mlCannotRead;
        return state_;
    }
    state_ = mlRead;
    std::string line;
    // Only the tags matter while scanning; the rest of a line is skipped.
    auto next = [&] {
        r.ReadLine(line, 8);
        return !r.IsError();
    };
    bool pending = false;  // line already holds the next line to look at
    for (;;) {
        if (!pending && !next()) {
            state_ = mlCannotRead;
            break;
        }
        pending = false;
        if (r.IsEnd()) break;
        if (!HasTag(line, "MNAM")) continue;

        QMethodEntry e;
        e.offset = r.GetLineOffset();
        if (!r.Seek(-1)) {
            state_ = mlCannotRead;
            break;
        }
        {
            ICrunch in(r);
            if (in.GetTag() != kTagMNAM || in.GetCount() != 2 || in.GetKind(0) != ICrunch::kFieldText ||
                in.GetKind(1) != ICrunch::kFieldText) {
                state_ = in.GetMessage() == 3101 ? mlCannotRead : mlWrongStructure;
                break;
            }
            e.name = TextFromFile(in.GetField(0));
            e.comment = TextFromFile(in.GetField(1));
        }
        // The tokenizer has read the line after the record ahead: look at it again.
        if (r.IsError()) {
            state_ = mlCannotRead;
            break;
        }
        if (r.IsEnd()) break;  // a block cut short after its name: left out
        if (!r.Seek(-1)) {
            state_ = mlCannotRead;
            break;
        }
        bool complete = false;
        for (;;) {
            if (!next()) break;
            if (r.IsEnd()) break;
            if (HasTag(line, "QEND")) {
                complete = true;
                break;
            }
            // A block that stops before its QEND, as a write cut short leaves it, ends where
            // the next block begins; it is left out and the next block is listed.
            if (HasTag(line, "MNAM") || HasTag(line, "MNAD")) {
                pending = true;
                break;
            }
            if (HasTag(line, "SMQS") || HasTag(line, "SMNS")) ++e.seqCount;
        }
        if (r.IsError()) {
            state_ = mlCannotRead;
            break;
        }
        if (complete) entries_.push_back(std::move(e));
        if (!pending && r.IsEnd()) break;
    }
    if (state_ != mlRead) entries_.clear();
    return state_;
}

int QMetod::LimitFromText(const std::string& text, int count)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    long long value = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) value = (first < last && *first == '-') ? -1 : count;
    else if (result.ec != std::errc()) value = 0;
    // A negative limit would read as "no limit" further on.
    if (value < 0) return 0;
    return value > count ? count : static_cast<int>(value);
}

int QMetod::StepLimit(const std::string& text, int step, int count)
{
    long long value = count;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first != last && *first == ' ') ++first;
    if (first != last && *first == '+') ++first;
    long long parsed = 0;
    const auto result = std::from_chars(first, last, parsed);
    if (result.ec == std::errc()) value = parsed;
    // A number too long to convert lies beyond either end of the range.
    else if (result.ec == std::errc::result_out_of_range) value = *first == '-' ? -(1LL << 40) : (1LL << 40);
    value += step;
    if (value < 0) return 0;
    return value > count ? count : static_cast<int>(value);
}

int QMetod::SelectMethod(int entry, int typedLimit, LineReader& reader, int* limit)
{
    message_.clear();
    if (entry < 0 || entry >= EntryCount()) {
        reader.Close();
        return 0;
    }
    const QMethodEntry& e = entries_[static_cast<std::size_t>(entry)];
    std::string line;
    // The file may have changed since it was listed: the offset must still start a method.
    bool ok = reader.Open(library_) && reader.Seek(e.offset);
    if (ok) {
        reader.ReadLine(line, 8);
        ok = !reader.IsError() && HasTag(line, "MNAM") && reader.Seek(e.offset);
    }
    if (!ok) {
        reader.Close();
        Fail(kMsgLibraryRead);
        return 0;
    }
    const int count = e.seqCount;
    if (limit) *limit = typedLimit < 0 ? 0 : typedLimit > count ? count : typedLimit;
    gLastMethodOffset = e.offset;
    return 1;
}

int QMetod::SelectEmpty(LineReader& reader, int* limit)
{
    // Closed without an error, even before any method was ever chosen in this run: the new
    // plate meets the end at once and is empty, where a reader never opened would fail.
    reader.OpenMemory({});
    reader.Close();
    if (limit) *limit = -1;
    return 2;
}

int QMetod::AddMethod(QPlate& plate, const std::string& name, const std::string& comment,
                      int replaceEntry)
{
    message_.clear();
    if (replaceEntry >= EntryCount()) return Fail(kMsgLibraryUpdate);
    std::string bad;
    if (CheckPlateForFile(plate, &bad) != 0) {
        message_ = FormatResString(kMsgNameNotStorable, CutUtf8(bad, 40).c_str());
        return kMsgNameNotStorable;
    }
    // The block carries the new name; the plate takes it only once the block is stored, so a
    // failed store leaves the plate's method exactly as it was.
    std::string block;
    {
        const std::string oldName = plate.methodName, oldInfo = plate.methodInfo;
        plate.methodName = name;
        plate.methodInfo = comment;
        std::string why;
        const bool rendered = RenderPlateBlock(plate, pwMethod, block, &why);
        plate.methodName = oldName;
        plate.methodInfo = oldInfo;
        if (!rendered) {
            message_ = why;
            return kMsgErrorWritingFile;
        }
    }

    // The library keeps whatever it holds, listed or not; the new block goes after it, and any
    // failure cuts it back to what it was.
    FileAppend file(library_);
    if (!file.Open()) return Fail(kMsgLibraryOpen);
    const off_t oldLength = file.OldLength();
    const long replacedOffset = replaceEntry >= 0 ? entries_[static_cast<std::size_t>(replaceEntry)].offset : -1;
    if (replacedOffset >= 0) {
        char tag[4];
        if (!file.ReadAt(replacedOffset, tag, 4) || std::memcmp(tag, "MNAM", 4) != 0) return Fail(kMsgLibraryUpdate);
    }
    // A last line without its line end (a file cut short) must not swallow the new MNAM.
    std::string data;
    if (oldLength > 0) {
        char last = 0;
        if (!file.ReadAt(oldLength - 1, &last, 1)) return Fail(kMsgLibraryAppend);
        if (last != '\n') data = "\r\n";
    }
    const long offset = static_cast<long>(oldLength) + static_cast<long>(data.size());
    data += block;

    if (!file.Append(data)) return Fail(kMsgErrorWritingFile);
    // Only now that the new version is whole may the old one stop being listed.
    if (replacedOffset >= 0 && !file.Patch(replacedOffset, "MNAD")) return Fail(kMsgLibraryUpdate);
    if (!file.Commit()) return Fail(kMsgErrorWritingFile);
    plate.methodName = name;
    plate.methodInfo = comment;
    gLastMethodOffset = offset;
    List();
    return 0;
}

bool QMetod::ToggleMark(int entry)
{
    if (entry < 0 || entry >= EntryCount()) return false;
    QMethodEntry& e = entries_[static_cast<std::size_t>(entry)];
    e.marked = !e.marked;
    marked_ += e.marked ? 1 : -1;
    return e.marked;
}

bool QMetod::Rename(int entry, const std::string& name, const std::string& comment)
{
    if (entry < 0 || entry >= EntryCount()) return false;
    QMethodEntry& e = entries_[static_cast<std::size_t>(entry)];
    if (e.marked) return false;
    e.name = name;
    e.comment = comment;
    e.edited = true;
    ++edited_;
    return true;
}

std::string QMetod::MarkText() const
{
    return std::string(static_cast<std::size_t>(marked_ < 31 ? marked_ : 31), '+');
}

int QMetod::Rewrite(int selected)
{
    message_.clear();
    // The companion lies beside the library; for a library that is a link, beside the file the
    // link names, so that it is renamed over that file on its own file system and the link
    // stays a link.
    ReplaceOptions options;
    options.companion = temp_;
    if (ResolveWriteTarget(library_) != library_) {
        const std::size_t slash = temp_.find_last_of('/');
        options.companion = slash == std::string::npos ? temp_ : temp_.substr(slash + 1);
    }
    AtomicFile file(library_, options);
    if (!file.Open()) return Fail(kMsgLibraryTempCreate);
    auto fail = [&](int id) {
        file.Discard();
        return Fail(id);
    };

    LineReader r;
    if (!r.Open(library_)) return fail(kMsgLibraryRead);
    std::string out;
    long newSelected = -1;
    std::string line;
    // Lines are copied whole, however long, so that nothing of a method is cut.
    auto next = [&] {
        r.ReadLine(line);
        return !r.IsError() && !r.IsEnd();
    };
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const QMethodEntry& e = entries_[i];
        if (e.marked) continue;
        if (static_cast<int>(i) == selected) newSelected = static_cast<long>(out.size());
        if (!r.Seek(e.offset) || !next() || !HasTag(line, "MNAM")) return fail(kMsgLibraryRead);
        if (e.edited) {
            if (!RenderNameLine(e.name, e.comment, out)) return fail(kMsgLibraryTempWrite);
        } else {
            out += line;
            out += "\r\n";
        }
        for (;;) {
            if (!next()) return fail(kMsgLibraryRead);
            if (line.empty() || line[0] != ' ') break;
            if (!e.edited) {
                out += line;
                out += "\r\n";
            }
        }
        for (;;) {
            out += line;
            out += "\r\n";
            if (HasTag(line, "QEND")) break;
            if (!next()) return fail(kMsgLibraryRead);
        }
    }
    r.Close();

    if (!file.Write(out) || !file.Commit())
        return Fail(file.Result().step == FileStep::Rename ? kMsgLibraryRename : kMsgLibraryTempWrite);
    gLastMethodOffset = newSelected;
    List();
    return 0;
}

}  // namespace vyn
