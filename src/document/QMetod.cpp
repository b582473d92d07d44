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

QMetod::QMetod() : QMetod(GetMtwFilePath()) {}

QMetod::QMetod(std::string libraryPath) : library_(std::move(libraryPath)) {}

int QMetod::Fail(int id)
{
    messageId_ = id;
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
    listed_.clear();
    listedFile_ = false;
    // Read whole and under the lock, so that the list is one state of the file, never half of
    // another program's change. A library this program may only read is listed all the same.
    {
        FileHold hold;
        const FileHold::State held = hold.Hold(library_, FileHold::kChangeWaitMs);
        bool exists = true;
        const bool read = held == FileHold::Held ? hold.Read(listed_) : held != FileHold::Missing && ReadWholeFile(library_, listed_, &exists);
        if (held == FileHold::Missing || !exists) {
            state_ = mlNoFile;
            return state_;
        }
        if (!read) {
            state_ = mlCannotRead;
            return state_;
        }
        listedFile_ = true;
    }
    LineReader r;
    r.OpenMemory(listed_);
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
                const std::size_t eol = listed_.find('\n', static_cast<std::size_t>(r.GetLineOffset()));
                const std::size_t end = eol == std::string::npos ? listed_.size() : eol + 1;
                e.block = listed_.substr(static_cast<std::size_t>(e.offset), end - static_cast<std::size_t>(e.offset));
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

int QMetod::Relist(int keep)
{
    const std::vector<QMethodEntry> old = std::move(entries_);
    List();
    // A method is the same one when its lines are: another program may have moved it, but
    // one it changed or replaced is another method now, and the user's choice does not go
    // over to it.
    std::vector<bool> taken(entries_.size(), false);
    int kept = -1;
    for (std::size_t i = 0; i < old.size(); ++i) {
        for (std::size_t j = 0; j < entries_.size(); ++j) {
            if (taken[j] || entries_[j].block != old[i].block) continue;
            taken[j] = true;
            if (old[i].marked) ToggleMark(static_cast<int>(j));
            if (old[i].edited) Rename(static_cast<int>(j), old[i].name, old[i].comment);
            if (static_cast<int>(i) == keep) kept = static_cast<int>(j);
            break;
        }
    }
    return kept;
}

int QMetod::HoldUnchanged(FileHold& hold, std::string& now, int keep)
{
    now.clear();
    const FileHold::State held = hold.Hold(library_, FileHold::kChangeWaitMs);
    if (held == FileHold::Busy) return Fail(kMsgLibraryBusy);
    const bool same = held == FileHold::Held ? listedFile_ && hold.Read(now) && now == listed_
                                             : held == FileHold::Missing && !listedFile_;
    if (same) return 0;
    if (held == FileHold::Failed) return Fail(kMsgLibraryOpen);
    hold.Release();
    chosenAfter_ = Relist(keep);
    return Fail(kMsgLibraryChanged);
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
    messageId_ = 0;
    if (entry < 0 || entry >= EntryCount()) {
        reader.Close();
        return 0;
    }
    const QMethodEntry& e = entries_[static_cast<std::size_t>(entry)];
    // The file may have changed since it was listed: the method is read from the library as it
    // is now, and only when the listed method still stands at its place.
    std::string now;
    {
        FileHold hold;
        const FileHold::State held = hold.Hold(library_, FileHold::kChangeWaitMs);
        if (held == FileHold::Held ? !hold.Read(now) : !ReadWholeFile(library_, now)) {
            reader.Close();
            Fail(held == FileHold::Busy ? kMsgLibraryBusy : kMsgLibraryRead);
            return 0;
        }
    }
    if (e.block.empty() || static_cast<std::size_t>(e.offset) > now.size() ||
        now.compare(static_cast<std::size_t>(e.offset), e.block.size(), e.block) != 0) {
        reader.Close();
        chosenAfter_ = Relist(entry);
        Fail(kMsgLibraryChanged);
        return 0;
    }
    reader.OpenMemory(std::move(now));
    if (!reader.Seek(e.offset)) {
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
    messageId_ = 0;
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

    // The method goes into the library as it stands, with every other writer kept out until it
    // is done. A change replaces the method the user chose only while the library is still what
    // the user was shown; a new method depends on nothing listed.
    FileHold hold;
    std::string now;
    bool created = false;
    if (replaceEntry >= 0) {
        if (const int id = HoldUnchanged(hold, now, replaceEntry)) return id;
    } else {
        // The first method makes the library; one another program made meanwhile is kept.
        const FileHold::State held = hold.HoldCreating(library_, FileHold::kChangeWaitMs, created);
        if (held == FileHold::Busy) return Fail(kMsgLibraryBusy);
        if (held != FileHold::Held) return Fail(kMsgLibraryOpen);
    }
    FileAppend file(library_);
    auto fail = [&](int id) {
        file.Rollback();
        // A library made here for nothing goes again, so a failed first add leaves no empty file.
        if (created) hold.RemoveHeld();
        return Fail(id);
    };
    if (!file.Open()) return fail(kMsgLibraryOpen);
    const off_t oldLength = file.OldLength();
    const long replacedOffset = replaceEntry >= 0 ? entries_[static_cast<std::size_t>(replaceEntry)].offset : -1;
    if (replacedOffset >= 0) {
        char tag[4];
        if (!file.ReadAt(replacedOffset, tag, 4) || std::memcmp(tag, "MNAM", 4) != 0) return fail(kMsgLibraryUpdate);
    }
    // A last line without its line end (a file cut short) must not swallow the new MNAM.
    std::string data;
    if (oldLength > 0) {
        char last = 0;
        if (!file.ReadAt(oldLength - 1, &last, 1)) return fail(kMsgLibraryAppend);
        if (last != '\n') data = "\r\n";
    }
    const long offset = static_cast<long>(oldLength) + static_cast<long>(data.size());
    data += block;

    if (!file.Append(data)) return fail(kMsgErrorWritingFile);
    // Only now that the new version is whole may the old one stop being listed.
    if (replacedOffset >= 0 && !file.Patch(replacedOffset, "MNAD")) return fail(kMsgLibraryUpdate);
    if (!file.Commit()) return fail(kMsgErrorWritingFile);
    hold.Release();
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
    messageId_ = 0;
    FileHold hold;
    std::string now;
    if (const int id = HoldUnchanged(hold, now, selected)) return id;

    LineReader r;
    r.OpenMemory(now);
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
        if (!r.Seek(e.offset) || !next() || !HasTag(line, "MNAM")) return Fail(kMsgLibraryRead);
        if (e.edited) {
            if (!RenderNameLine(e.name, e.comment, out)) return Fail(kMsgLibraryTempWrite);
        } else {
            out += line;
            out += "\r\n";
        }
        for (;;) {
            if (!next()) return Fail(kMsgLibraryRead);
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
            if (!next()) return Fail(kMsgLibraryRead);
        }
    }
    r.Close();

    // The temporary file has a name of its own beside the library (beside the file a linked
    // library names), so two programs rewriting at once never write into one file.
    const FileResult written = hold.Replace(out);
    if (!written)
        return Fail(written.step == FileStep::Open ? kMsgLibraryTempCreate
                    : written.step == FileStep::Rename ? kMsgLibraryRename
                                                       : kMsgLibraryTempWrite);
    hold.Release();
    gLastMethodOffset = newSelected;
    List();
    return 0;
}

}  // namespace vyn
