#include "document/PlateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <climits>
#include <cmath>
#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/ICrunch.h"
#include "platform/core/Utf8Text.h"
#include "document/LineReader.h"
#include "document/OCrunch.h"
#include "document/TagNames.h"
#include "evaluator/NoValue.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"
#include "plate/Utilities.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Clock.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {

struct KindEntry {
    const char* name;
    std::uint32_t code;
};
const KindEntry kKinds[6] = {{"G", 0x01}, {"Q", 0x02}, {"SP", 0x04},
                             {"SN", 0x14}, {"NP", 0x08}, {"NN", 0x18}};

// The two width settings are character widths of views; anything beyond this is damage.
constexpr long kMaxWidth = 4000;
// A measurement time read as a real must come back as an exact 64-bit integer.
constexpr double kMaxFileTime = 9007199254740992.0;  // 2^53

void SetMessage(std::string* message, int id)
{
    if (message) *message = GetResString(id);
}

// ------------------------------------------------------------------------------------------
// Writing

class BlockWriter {
public:
    explicit BlockWriter(int fd) : out_(fd) {}
    explicit BlockWriter(std::string& sink) : out_(sink) {}

    OCrunch& Begin(int tag)
    {
        out_.BeginTag(tag);
        return out_;
    }
    // Finishes the record; false once any record failed.
    bool End()
    {
        const long n = out_.Finish();
        if (n < 0) {
            failed_ = true;
            return false;
        }
        total_ += n;
        return true;
    }
    long Total() const { return failed_ ? -1 : total_; }
    bool HadNotANumber() const { return out_.HadNotANumber(); }

    void Pairs(const TwostrArray& list)
    {
        for (const twostr& d : list) {
            out_.PutField(d.name);
            out_.PutString(d.text);
        }
    }

private:
    OCrunch out_;
    long total_ = 0;
    bool failed_ = false;
};

const char* SampleTag(const QPlate& plate, const QSample& s)
{
    const bool fixed = s.index < plate.fixedCount;
    if (s.kind & skQualitative) return fixed ? "SMQF" : "SMQS";
    return fixed ? "SMNF" : "SMNS";
}

int SampleTagNumber(const QPlate& plate, const QSample& s)
{
    return FindTag(SampleTag(plate, s));
}

void PutEntries(OCrunch& out, const QSample& s, bool withGroup)
{
    out.PutInt(s.WellCount());
    for (const QSegm& e : s.wells) {
        out.PutField(e.desc ? e.desc->name : std::string());
        out.PutInt(e.well);
        if (withGroup) out.PutInt(e.group);
    }
}

bool WriteBlock(QPlate& p, BlockWriter& w, int flag)
{
    OCrunch* o = &w.Begin(kTagMNAM);
    o->PutString(p.methodName);
    o->PutString(p.methodInfo);
    if (!w.End()) return false;

    o = &w.Begin(kTagDSEP);
    o->PutString(std::string(1, gDecimalChar));
    if (!w.End()) return false;

    if (!p.reportDef.empty()) {
        o = &w.Begin(kTagREPO);
        o->PutString(p.reportDef);
        if (!w.End()) return false;
    }

    for (const auto& d : p.descs) {
        const int k = IndexOfKindCode(d->kind & 0x1F);
        if (k < 0) continue;
        o = &w.Begin(kTagDESC);
        o->PutField(KindNameAt(k));
        o->PutField(d->name);
        // Kept as the signed 32-bit number older files hold for a colour word.
        o->PutLong(static_cast<std::int32_t>(d->colour.value));
        o->PutString(d->info);
        if (!w.End()) return false;
    }

    o = &w.Begin(kTagBLNK);
    o->PutInt(p.dataMode);
    o->PutString(p.blankExpr);
    o->PutString(p.transformExpr);
    if (!w.End()) return false;

    if (!p.calculations.definitions.empty()) {
        NormalizeDefinitionNames("fct", p.calculations.definitions);
        w.Begin(kTagFDEF);
        w.Pairs(p.calculations.definitions);
        if (!w.End()) return false;
    }
    if (!p.validations.definitions.empty()) {
        NormalizeDefinitionNames("cond", p.validations.definitions);
        w.Begin(kTagVALI);
        w.Pairs(p.validations.definitions);
        if (!w.End()) return false;
    }

    const QCalibr& c = p.calibr;
    o = &w.Begin(kTagCALJ);
    o->PutInt(c.decreasing == 0 ? 1 : 0);
    o->PutInt(c.model);
    o->PutInt(c.logX);
    o->PutInt(c.stored);
    o->PutInt(c.fixedK);
    o->PutDouble(c.K0);
    o->PutDouble(c.K1);
    for (double x : c.concentrations) o->PutDouble(x);
    // A saved plate keeps what the user changed in its fit (points excluded, a narrowed or
    // widened range): the fitted curve is written whole, as a remembered one is, but with its
    // stored flag clear, so it is not frozen. Read back, the plate computes its concentrations
    // from that curve until something makes it fit again, just as before the save; without it
    // the curve would be fitted again to all points over the fit's own range, and concentrations,
    // "<<" and ">>" would differ from what was printed and exported.
    const bool keepsUserChanges = flag == pwPlate && c.HasUserChanges();
    if (c.stored || keepsUserChanges) {
        o->PutString(c.memo);
        o->PutInt(c.state);
        o->PutString(c.message);
        const std::size_t n = c.pointX.size();
        o->PutLong(static_cast<long>(n));
        for (std::size_t i = 0; i < n; ++i) {
            o->PutDouble(c.pointX[i]);
            o->PutDouble(i < c.pointY.size() ? c.pointY[i] : NoValue);
            o->PutInt(i < c.pointExcluded.size() ? c.pointExcluded[i] : 0);
        }
        o->PutLong(static_cast<long>(c.fitInts.size()));
        for (int v : c.fitInts) o->PutInt(v);
        o->PutLong(static_cast<long>(c.results.size()));
        for (double v : c.results) o->PutDouble(v);
    }
    if (!w.End()) return false;

    if (!p.globalQualDef.empty()) {
        NormalizeDefinitionNames("res", p.globalQualDef);
        w.Begin(kTagQUAL);
        w.Pairs(p.globalQualDef);
        if (!w.End()) return false;
    }
    // An empty list is written as a line without values: a missing line would read back as
    // the new plate's list {1}.
    {
        o = &w.Begin(kTagQUAN);
        for (double v : p.globalQuantDef) o->PutDouble(v);
        if (!w.End()) return false;
    }
    if (p.globInUse) {
        o = &w.Begin(kTagSMGL);
        o->PutString("");
        PutEntries(*o, *p.globInUse, false);
        if (!w.End()) return false;
    }
    if (p.stdInUse) {
        o = &w.Begin(kTagSMST);
        o->PutString("");
        PutEntries(*o, *p.stdInUse, true);
        if (!w.End()) return false;
    }
    for (int i = 0; i < p.sampleCount; ++i) {
        QSample* s = p.GetSample(i);
        if (!s) continue;
        const bool quantitative = (s->kind & skQualitative) == 0;
        const bool own = s->HasOwnDefinition() != 0;
        o = &w.Begin(SampleTagNumber(p, *s));
        o->PutString(s->ident);
        o->PutField(own ? "L" : "G");
        PutEntries(*o, *s, quantitative);
        if (own) {
            auto* q = static_cast<QQSample*>(s);
            if (quantitative)
                for (double v : static_cast<QNSample*>(s)->QuantDefinition()) o->PutDouble(v);
            TwostrArray defs = q->QualDefinition();
            if (NormalizeDefinitionNames("res", defs)) q->SetOwnDefinition(defs);
            w.Pairs(defs);
        }
        if (!w.End()) return false;
    }

    o = &w.Begin(kTagDMEA);
    o->PutInt(p.useRefFilter);
    o->PutInt(p.measFilter);
    o->PutInt(p.refFilter);
    if (!p.readerOptions.empty()) o->PutString(p.readerOptions);
    if (!w.End()) return false;

    WriteFormatLine(w.Begin(kTagFMTM), p.measuredFormat, kTagFMTM);
    if (!w.End()) return false;
    WriteFormatLine(w.Begin(kTagFMTT), p.dataFormat, kTagFMTT);
    if (!w.End()) return false;
    WriteFormatLine(w.Begin(kTagFMTR), p.resultsFormat, kTagFMTR);
    if (!w.End()) return false;

    o = &w.Begin(kTagUNIT);
    o->PutString(p.units);
    if (!w.End()) return false;

    o = &w.Begin(kTagWIDT);
    o->PutInt(p.resultFieldWidth);
    o->PutInt(p.cellWidth);
    if (!w.End()) return false;

    o = &w.Begin(kTagGRAF);
    o->PutInt(p.curveLogX);
    o->PutInt(p.curveLogY);
    o->PutInt(p.curveGrid);
    if (!w.End()) return false;

    if (flag == pwPlate) {
        const int n = std::min(p.wellCount, 96);
        if (p.measureTime != 0) {
            o = &w.Begin(kTagTMEA);
            o->PutDouble(static_cast<double>(p.measureTime));
            if (!w.End()) return false;
        }
        auto putValues = [&](int tag, bool measured) {
            OCrunch& out = w.Begin(tag);
            for (int i = 0; i < n; ++i) {
                const QWellRecord& r = p.wells[static_cast<std::size_t>(i)];
                out.PutDouble(measured ? r.measured : r.data);
            }
            return w.End();
        };
        if (p.dataMode == dmMeasured) {
            bool any = false;
            for (int i = 0; i < n && !any; ++i) {
                const QWellRecord& r = p.wells[static_cast<std::size_t>(i)];
                any = r.measured != NoValue || r.data != NoValue;
            }
            if (any && !putValues(kTagDA96, false)) return false;
        } else {
            if (p.measuredCount != 0 && !putValues(kTagDM96, true)) return false;
            if (p.dataCount != 0 && !putValues(kTagDT96, false)) return false;
        }
    }

    w.Begin(kTagQEND);
    return w.End();
}

bool EntryNamesStorable(const QPlate& plate, const QSample& s, std::uint32_t mask, std::string* bad)
{
    for (const QSegm& e : s.wells) {
        const std::string name = e.desc ? e.desc->name : std::string();
        const QDesc* found = IsStorableName(name) ? FindDescriptor(plate, name, mask) : nullptr;
        // The reader binds the entry to the first descriptor of that name and kind, which must
        // itself be written.
        if (!found || IndexOfKindCode(found->kind & 0x1F) < 0) {
            if (bad) *bad = name;
            return false;
        }
    }
    return true;
}

// ------------------------------------------------------------------------------------------
// Reading

using Kind = ICrunch::FieldKind;

class BlockReader {
public:
    BlockReader(QPlate& plate, ICrunch& in, int limit) : p_(plate), in_(in), limit_(limit) {}

    // False with message_ set when the line breaks its rule.
    bool Handle(int tag);
    int Message() const { return message_; }

private:
    bool Bad()
    {
        message_ = kMsgWrongItem;
        return false;
    }
    int Count() const { return in_.GetCount(); }
    bool Is(int i, int kinds) const { return (in_.GetKind(i) & kinds) != 0; }
    std::string Text(int i) const { return TextFromFile(in_.GetField(i)); }
    // The integer of a number field, within lo..hi.
    bool IntIn(int i, long lo, long hi, long& value) const
    {
        if (!Is(i, ICrunch::kFieldNumber)) return false;
        value = in_.GetLong(i);
        return value >= lo && value <= hi;
    }
    // Pairs (name, text) when the first field is a name, else unnamed texts.
    bool ReadDefinitions(int start, TwostrArray& list) const;
    // n entries from field start, each (descriptor name, well[, group]).
    bool ReadEntries(int start, long n, bool withGroup, std::uint32_t mask,
                     std::vector<QSegm>& entries) const;
    bool WellFree(long well) const
    {
        return well >= 0 && well < p_.wellCount && !p_.wells[static_cast<std::size_t>(well)].sample;
    }
    bool GroupValid(long group) const { return group >= 0 && group < p_.wellCount; }
    static void Bind(QPlate& p, QSample& s, const std::vector<QSegm>& entries);
    bool Fields(int lo, long n, long perEntry) const
    {
        return n > 0 && n <= p_.wellCount && static_cast<long long>(Count()) >= lo + n * perEntry;
    }

    bool ReadMNAM();
    bool ReadDSEP();
    bool ReadDESC();
    bool ReadBLNK();
    bool ReadDefinitionLine(TwostrArray& list, const char* prefix);
    bool ReadVALI();
    bool ReadCALI();
    bool ReadCALJ();
    bool ReadQUAN();
    bool ReadEmbedded(QSample& sample, bool standards);
    bool ReadSample(int tag);
    bool ReadSMPL();
    bool ReadDMEA();
    bool ReadValues(int tag);
    bool ReadTMEA();

    QPlate& p_;
    ICrunch& in_;
    int limit_;
    int message_ = 0;
};

bool BlockReader::ReadDefinitions(int start, TwostrArray& list) const
{
    const int n = Count();
    if (start >= n) return true;
    TwostrArray read;
    if (Is(start, ICrunch::kFieldName)) {
        for (int i = start; i + 1 < n; i += 2) {
            if (!Is(i, ICrunch::kFieldName) || !Is(i + 1, ICrunch::kFieldText)) return false;
            read.push_back({Text(i), Text(i + 1)});
        }
    } else {
        for (int i = start; i < n; ++i) {
            if (!Is(i, ICrunch::kFieldText)) return false;
            read.push_back({std::string(), Text(i)});
        }
    }
    list.insert(list.end(), read.begin(), read.end());
    return true;
}

bool BlockReader::ReadEntries(int start, long n, bool withGroup, std::uint32_t mask,
                              std::vector<QSegm>& entries) const
{
    const int step = withGroup ? 3 : 2;
    std::vector<bool> taken(static_cast<std::size_t>(p_.wellCount), false);
    for (long k = 0; k < n; ++k) {
        const int f = start + static_cast<int>(k) * step;
        if (!Is(f, ICrunch::kFieldName)) return false;
        QDesc* desc = FindDescriptor(p_, Text(f), mask);
        long well = 0;
        long group = 0;
        if (!desc || !IntIn(f + 1, 0, p_.wellCount - 1, well) || !WellFree(well)) return false;
        if (withGroup && (!IntIn(f + 2, 0, LONG_MAX, group) || !GroupValid(group))) return false;
        // A well can belong to one sample entry only.
        if (taken[static_cast<std::size_t>(well)]) return false;
        taken[static_cast<std::size_t>(well)] = true;
        entries.push_back({static_cast<int>(group), static_cast<int>(well), desc});
    }
    return true;
}

void BlockReader::Bind(QPlate& p, QSample& s, const std::vector<QSegm>& entries)
{
    for (const QSegm& e : entries) {
        const int position = s.AddWellEntry(e);
        QWellRecord& r = p.wells[static_cast<std::size_t>(e.well)];
        r.sample = &s;
        r.position = position;
    }
}

bool BlockReader::ReadMNAM()
{
    const int n = Count();
    if (n < 1 || n > 2 || !Is(0, ICrunch::kFieldText)) return Bad();
    if (n == 2 && !Is(1, ICrunch::kFieldText)) return Bad();
    p_.methodName = Text(0);
    if (n == 2) p_.methodInfo = Text(1);
    return true;
}

bool BlockReader::ReadDSEP()
{
    if (Count() != 1 || !Is(0, ICrunch::kFieldText)) return Bad();
    const std::string& text = in_.GetField(0);
    // Any other character would make the block's numbers unreadable.
    if (text.empty() || (text[0] != '.' && text[0] != ',')) return Bad();
    gDecimalChar = text[0];
    return true;
}

bool BlockReader::ReadDESC()
{
    const int n = Count();
    if (n < 3 || n > 4 || !Is(0, ICrunch::kFieldName) || !Is(1, ICrunch::kFieldName)) return Bad();
    const int k = IndexOfKindName(in_.GetField(0));
    long colour = 0;
    if (k < 0 || !IntIn(2, INT32_MIN, UINT32_MAX, colour)) return Bad();
    p_.descs.push_back(std::make_unique<QDesc>(KindCodeAt(k), Text(1),
                                               TColor(static_cast<std::uint32_t>(colour)),
                                               n == 4 ? Text(3) : std::string()));
    return true;
}

bool BlockReader::ReadBLNK()
{
    const int n = Count();
    long mode = 0;
    if (n < 1 || n > 3 || !IntIn(0, 0, 2, mode)) return Bad();
    if ((n >= 2 && !Is(1, ICrunch::kFieldText)) || (n >= 3 && !Is(2, ICrunch::kFieldText))) return Bad();
    p_.dataMode = static_cast<int>(mode);
    if (n >= 2) p_.blankExpr = Text(1);
    if (n >= 3) p_.transformExpr = Text(2);
    return true;
}

bool BlockReader::ReadDefinitionLine(TwostrArray& list, const char* prefix)
{
    if (Count() == 0) return true;
    if (!ReadDefinitions(0, list)) return Bad();
    NormalizeDefinitionNames(prefix, list);
    return true;
}

bool BlockReader::ReadVALI()
{
    if (Count() == 0) return true;
    TwostrArray& list = p_.validations.definitions;
    if (Is(0, ICrunch::kFieldName)) return ReadDefinitionLine(list, "cond");
    long on = 0;
    if (!IntIn(0, 0, 1, on)) return Bad();
    if (on == 1 && Count() >= 2) {
        if (!Is(1, ICrunch::kFieldText)) return Bad();
        list.push_back({std::string(), Text(1)});
    }
    NormalizeDefinitionNames("cond", list);
    return true;
}

bool BlockReader::ReadCALI()
{
    const int n = Count();
    if (n < 4) return true;
    for (int i = 0; i < 4; ++i)
        if (!Is(i, ICrunch::kFieldNumber)) return Bad();
    long model = 0;
    if (!IntIn(1, 0, QCalibr::ModelCount() - 1, model)) return Bad();
    std::vector<double> conc;
    for (int i = 4; i < n; ++i) {
        if (!Is(i, ICrunch::kFieldNumber | ICrunch::kFieldEmpty)) return Bad();
        conc.push_back(in_.GetReal(i));
    }
    p_.calibr.SetParams(static_cast<int>(model), in_.GetInt(0) == 0 ? 1 : 0, in_.GetInt(2), conc, 0,
                        0.0, 1.0);
    return true;
}

bool BlockReader::ReadCALJ()
{
    const int n = Count();
    if (n < 7) return true;
    constexpr int kNum = ICrunch::kFieldNumber;
    constexpr int kReal = ICrunch::kFieldNumber | ICrunch::kFieldEmpty;
    for (int i = 0; i < 5; ++i)
        if (!Is(i, kNum)) return Bad();
    if (!Is(5, kReal) || !Is(6, kReal)) return Bad();
    long model = 0;
    if (!IntIn(1, 0, QCalibr::ModelCount() - 1, model)) return Bad();
    const int decreasing = in_.GetInt(0) == 0 ? 1 : 0;
    const int logX = in_.GetInt(2);
    const int stored = in_.GetInt(3);
    const int fixedK = in_.GetInt(4);
    const double K0 = in_.GetReal(5);
    const double K1 = in_.GetReal(6);
    std::vector<double> conc;
    int i = 7;
    for (; i < n && Is(i, kReal); ++i) conc.push_back(in_.GetReal(i));
    if (i == n) {
        p_.calibr.SetParams(static_cast<int>(model), decreasing, logX, conc, fixedK, K0, K1);
        return true;
    }
    if (!Is(i, ICrunch::kFieldText)) return Bad();
    const std::string memo = Text(i++);
    long state = 0;
    if (!IntIn(i++, -1, 1, state)) return Bad();
    if (!Is(i, ICrunch::kFieldText)) return Bad();
    const std::string message = Text(i++);

    // Every count must be covered by the fields that follow it.
    auto count = [&](int at, long perItem, long& value) {
        // Divide rather than multiply: a count near LONG_MAX must not overflow the check.
        return IntIn(at, 0, LONG_MAX, value) && n - at - 1 >= 0 && value <= (n - at - 1) / perItem;
    };
    long points = 0;
    if (!count(i++, 3, points)) return Bad();
    std::vector<double> x, y;
    std::vector<int> excluded;
    for (long k = 0; k < points; ++k, i += 3) {
        if (!Is(i, kReal) || !Is(i + 1, kReal) || !Is(i + 2, kNum)) return Bad();
        x.push_back(in_.GetReal(i));
        y.push_back(in_.GetReal(i + 1));
        excluded.push_back(in_.GetInt(i + 2));
    }
    long m = 0;
    if (!count(i++, 1, m)) return Bad();
    std::vector<int> fitInts;
    for (long k = 0; k < m; ++k, ++i) {
        if (!Is(i, kNum)) return Bad();
        fitInts.push_back(in_.GetInt(i));
    }
    long k = 0;
    if (!count(i++, 1, k)) return Bad();
    std::vector<double> results;
    for (long r = 0; r < k; ++r, ++i) {
        if (!Is(i, kReal)) return Bad();
        results.push_back(in_.GetReal(i));
    }
    // A curve that its own model could not read is damage, not a calibration.
    if (!p_.calibr.Restore(stored, static_cast<int>(state), static_cast<int>(model), decreasing, logX,
                           conc, fixedK, K0, K1, memo, message, x, y, excluded, fitInts, results))
        return Bad();
    // A text field carries no line ends, so the lines in which a fit reports its parameters come
    // back run together. When the text is just that report, the curve's parameters give it its
    // lines again; any other text is kept as the file holds it.
    QCalibr& c = p_.calibr;
    if (c.state == csValid) {
        std::string lines = c.ParameterLines();
        std::string joined = lines;
        std::erase_if(joined, [](char ch) { return ch == '\r' || ch == '\n'; });
        if (!lines.empty() && joined == message) c.message = std::move(lines);
    }
    return true;
}

bool BlockReader::ReadQUAN()
{
    const int n = Count();
    std::vector<double> values;
    int i = 0;
    for (; i < n && Is(i, ICrunch::kFieldNumber | ICrunch::kFieldEmpty); ++i)
        values.push_back(in_.GetReal(i));
    TwostrArray defs;
    if (!ReadDefinitions(i, defs)) return Bad();
    p_.globalQuantDef = std::move(values);
    if (i < n) {
        p_.globalQualDef.insert(p_.globalQualDef.end(), defs.begin(), defs.end());
        NormalizeDefinitionNames("res", p_.globalQualDef);
    }
    return true;
}

bool BlockReader::ReadEmbedded(QSample& sample, bool standards)
{
    const long per = standards ? 3 : 2;
    long n = 0;
    if (Count() < (standards ? 5 : 4) || !Is(0, ICrunch::kFieldText) ||
        !Is(1, ICrunch::kFieldNumber))
        return Bad();
    n = in_.GetLong(1);
    if (!Fields(2, n, per)) return Bad();
    std::vector<QSegm> entries;
    if (!ReadEntries(2, n, standards, standards ? skStandard : skGlobal, entries)) return Bad();
    if (standards) p_.stdInUse = &p_.stdSample;
    else p_.globInUse = &p_.globSample;
    sample.ident = Text(0);
    Bind(p_, sample, entries);
    return true;
}

bool BlockReader::ReadSample(int tag)
{
    const bool sequential = tag == kTagSMQS || tag == kTagSMNS;
    const bool quantitative = tag == kTagSMNF || tag == kTagSMNS;
    if (sequential && limit_ >= 0 && p_.sampleCount - p_.fixedCount >= limit_) return true;

    const long per = quantitative ? 3 : 2;
    if (Count() < (quantitative ? 6 : 5) || !Is(0, ICrunch::kFieldText) ||
        !Is(1, ICrunch::kFieldName) || !Is(2, ICrunch::kFieldNumber))
        return Bad();
    const long n = in_.GetLong(2);
    if (!Fields(3, n, per)) return Bad();
    std::vector<QSegm> entries;
    if (!ReadEntries(3, n, quantitative, quantitative ? skQuantitative : skQualitative, entries))
        return Bad();
    const bool own = in_.GetField(1)[0] == 'L';
    int i = 3 + static_cast<int>(n * per);
    std::vector<double> quant;
    TwostrArray defs;
    if (own) {
        if (quantitative)
            for (; i < Count() && Is(i, ICrunch::kFieldNumber | ICrunch::kFieldEmpty); ++i)
                quant.push_back(in_.GetReal(i));
        if (!ReadDefinitions(i, defs)) return Bad();
        NormalizeDefinitionNames("res", defs);
    }
    if (p_.sampleCount >= p_.wellCount) return Bad();

    std::unique_ptr<QQSample> sample;
    if (quantitative) sample = std::make_unique<QNSample>(&p_);
    else sample = std::make_unique<QQSample>(&p_);
    QQSample& s = *sample;
    s.ident = Text(0);
    if (own) {
        if (quantitative) s.SetOwnQuantDefinition(quant);
        s.SetOwnDefinition(defs);
    }
    if (p_.InsertSample(std::move(sample), p_.sampleCount, false) < 0) return Bad();
    if (!sequential) p_.fixedCount = p_.sampleCount;
    Bind(p_, s, entries);
    return true;
}

bool BlockReader::ReadSMPL()
{
    if (Count() < 4 || !Is(0, ICrunch::kFieldName) || !Is(1, ICrunch::kFieldText) ||
        !Is(2, ICrunch::kFieldName) || !Is(3, ICrunch::kFieldNumber))
        return Bad();
    const std::string& which = in_.GetField(0);
    const char first = which[0];
    if (first != 'G' && first != 'S' && first != 'N' && first != 'Q') return Bad();
    const long n = in_.GetLong(3);
    if (!Fields(4, n, 3)) return Bad();
    std::vector<QSegm> entries;
    std::vector<bool> taken(static_cast<std::size_t>(p_.wellCount), false);
    for (long k = 0; k < n; ++k) {
        const int f = 4 + static_cast<int>(k) * 3;
        long position = 0, well = 0, group = 0;
        if (!IntIn(f, 0, static_cast<long>(p_.descs.size()) - 1, position) ||
            !IntIn(f + 1, 0, p_.wellCount - 1, well) || !WellFree(well) ||
            taken[static_cast<std::size_t>(well)] || !IntIn(f + 2, 0, LONG_MAX, group) ||
            !GroupValid(group))
            return Bad();
        taken[static_cast<std::size_t>(well)] = true;
        entries.push_back({static_cast<int>(group), static_cast<int>(well),
                           p_.descs[static_cast<std::size_t>(position)].get()});
    }
    const std::string ident = Text(1);
    if (first == 'G' || first == 'S') {
        QSample& s = first == 'G' ? static_cast<QSample&>(p_.globSample) : p_.stdSample;
        if (first == 'G') p_.globInUse = &p_.globSample;
        else p_.stdInUse = &p_.stdSample;
        s.ident = ident;
        Bind(p_, s, entries);
        return true;
    }

    const bool quantitative = first == 'N';
    const bool own = in_.GetField(2)[0] == 'L';
    std::vector<double> quant;
    TwostrArray defs;
    if (own) {
        const int at = 4 + static_cast<int>(n * 3);
        long m = 0;
        if (!IntIn(at, 0, LONG_MAX, m) || static_cast<long long>(Count() - at - 1) < m) return Bad();
        for (long k = 0; k < m; ++k) {
            const int f = at + 1 + static_cast<int>(k);
            if (quantitative) {
                if (!Is(f, ICrunch::kFieldNumber | ICrunch::kFieldEmpty)) return Bad();
                quant.push_back(in_.GetReal(f));
            } else {
                if (!Is(f, ICrunch::kFieldText)) return Bad();
                defs.push_back({std::string(), Text(f)});
            }
        }
        NormalizeDefinitionNames("res", defs);
    }
    if (p_.sampleCount >= p_.wellCount) return Bad();
    std::unique_ptr<QQSample> sample;
    if (quantitative) sample = std::make_unique<QNSample>(&p_);
    else sample = std::make_unique<QQSample>(&p_);
    QQSample& s = *sample;
    s.ident = ident;
    if (own) {
        if (quantitative) s.SetOwnQuantDefinition(quant);
        else s.SetOwnDefinition(defs);
    }
    if (p_.InsertSample(std::move(sample), p_.sampleCount, false) < 0) return Bad();
    if (which.size() > 1 && which[1] == 'F') p_.fixedCount = p_.sampleCount;
    Bind(p_, s, entries);
    return true;
}

bool BlockReader::ReadDMEA()
{
    const int n = Count();
    if (n == 0) return true;
    long dual = 0, filter = p_.measFilter, reference = p_.refFilter;
    if (!IntIn(0, 0, 1, dual)) return Bad();
    if (n >= 2 && !IntIn(1, 0, INT_MAX, filter)) return Bad();
    if (n >= 3 && !IntIn(2, 0, INT_MAX, reference)) return Bad();
    if (n >= 4 && !Is(3, ICrunch::kFieldText)) return Bad();
    p_.useRefFilter = static_cast<int>(dual);
    p_.measFilter = static_cast<int>(filter);
    p_.refFilter = static_cast<int>(reference);
    if (n >= 4) p_.readerOptions = Text(3);
    return true;
}

bool BlockReader::ReadValues(int tag)
{
    const int n = std::min({Count(), 96, p_.wellCount});
    for (int i = 0; i < n; ++i)
        if (!Is(i, ICrunch::kFieldNumber | ICrunch::kFieldEmpty)) return Bad();
    for (int i = 0; i < n; ++i) {
        if (Is(i, ICrunch::kFieldEmpty)) continue;
        const double v = in_.GetReal(i);
        QWellRecord& r = p_.wells[static_cast<std::size_t>(i)];
        if (tag != kTagDT96) r.measured = v;
        if (tag != kTagDM96) r.data = v;
    }
    return true;
}

bool BlockReader::ReadTMEA()
{
    if (Count() != 1 || !Is(0, ICrunch::kFieldNumber)) return Bad();
    const double v = in_.GetReal(0);
    // Only a time the file could have held: no sign, no fraction lost beyond the integer.
    if (!(v >= 0.0 && v < kMaxFileTime)) return Bad();
    p_.measureTime = TimeFromFile(static_cast<std::uint64_t>(v));
    return true;
}

bool BlockReader::Handle(int tag)
{
    switch (tag) {
    case kTagMNAD: return true;
    case kTagMNAM: return ReadMNAM();
    case kTagDSEP: return ReadDSEP();
    case kTagREPO:
        if (Count() > 0 && Is(0, ICrunch::kFieldText)) p_.reportDef = Text(0);
        return true;
    case kTagDESC: return ReadDESC();
    case kTagBLNK: return ReadBLNK();
    case kTagFDEF: return ReadDefinitionLine(p_.calculations.definitions, "fct");
    case kTagVALI: return ReadVALI();
    case kTagCALI: return ReadCALI();
    case kTagCALJ: return ReadCALJ();
    case kTagQUAL: return ReadDefinitionLine(p_.globalQualDef, "res");
    case kTagQUAN: return ReadQUAN();
    case kTagSMGL: return ReadEmbedded(p_.globSample, false);
    case kTagSMST: return ReadEmbedded(p_.stdSample, true);
    case kTagSMQF:
    case kTagSMQS:
    case kTagSMNF:
    case kTagSMNS: return ReadSample(tag);
    case kTagSMPL: return ReadSMPL();
    case kTagDMEA: return ReadDMEA();
    case kTagFMTM: return ReadFormatLine(in_, p_.measuredFormat) || Bad();
    case kTagFMTT: return ReadFormatLine(in_, p_.dataFormat) || Bad();
    case kTagFMTR: return ReadFormatLine(in_, p_.resultsFormat) || Bad();
    case kTagUNIT:
        if (Count() != 1 || !Is(0, ICrunch::kFieldText)) return Bad();
        p_.units = Text(0);
        return true;
    case kTagWIDT: {
        long a = 0, b = 0;
        if (Count() != 2 || !IntIn(0, 1, kMaxWidth, a) || !IntIn(1, 1, kMaxWidth, b)) return Bad();
        p_.resultFieldWidth = static_cast<int>(a);
        p_.cellWidth = static_cast<int>(b);
        return true;
    }
    case kTagGRAF:
        if (Count() < 3 || !Is(0, ICrunch::kFieldNumber) || !Is(1, ICrunch::kFieldNumber) ||
            !Is(2, ICrunch::kFieldNumber))
            return Bad();
        p_.curveLogX = in_.GetInt(0);
        p_.curveLogY = in_.GetInt(1);
        p_.curveGrid = in_.GetInt(2);
        return true;
    case kTagDA96:
    case kTagDM96:
    case kTagDT96: return ReadValues(tag);
    case kTagTMEA: return ReadTMEA();
    default: return Bad();
    }
}

// Puts the program's decimal character back however the read ends.
class DecimalCharGuard {
public:
    DecimalCharGuard() : saved_(gDecimalChar) {}
    ~DecimalCharGuard() { gDecimalChar = saved_; }
    DecimalCharGuard(const DecimalCharGuard&) = delete;
    DecimalCharGuard& operator=(const DecimalCharGuard&) = delete;

private:
    char saved_;
};

}  // namespace

// ------------------------------------------------------------------------------------------

int IndexOfKindName(std::string_view name)
{
    for (int i = 0; i < 6; ++i)
        if (name == kKinds[i].name) return i;
    return -1;
}

int IndexOfKindCode(std::uint32_t code)
{
    for (int i = 0; i < 6; ++i)
        if (code == kKinds[i].code) return i;
    return -1;
}

const char* KindNameAt(int index)
{
    return index >= 0 && index < 6 ? kKinds[index].name : "";
}

std::uint32_t KindCodeAt(int index)
{
    return index >= 0 && index < 6 ? kKinds[index].code : 0;
}

QDesc* FindDescriptor(const QPlate& plate, std::string_view name, std::uint32_t mask)
{
    for (const auto& d : plate.descs)
        if ((d->kind & mask) != 0 && d->name == name) return d.get();
    return nullptr;
}

bool IsStorableName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxStorableName) return false;
    const unsigned char first = static_cast<unsigned char>(name.front());
    const bool letter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z') || first == '_';
    if (!letter || name.back() == ' ') return false;
    for (char ch : name) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 32 || c == ';' || c == 127) return false;
    }
    return true;
}

std::uint64_t TimeFromFile(std::uint64_t value)
{
    if (value == 0 || (value >> 32) != 0) return value;
    // The local 1970 epoch as the zone stands now, computed once for the run.
    static const std::int64_t localEpochMs = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        long offset = 0;
        if (::localtime_r(&now, &local)) offset = local.tm_gmtoff;
        return kUnixEpochMs - static_cast<std::int64_t>(offset) * 1000;
    }();
    return value * 1000u + static_cast<std::uint64_t>(localEpochMs);
}

void WriteFormatLine(OCrunch& out, const QNumFormat& format, int tag)
{
    out.BeginTag(tag);
    out.PutInt(format.mode);
    out.PutInt(format.digits);
    out.PutInt(format.decimals);
}

bool ReadFormatLine(const ICrunch& in, QNumFormat& format)
{
    if (in.GetCount() != 3) return false;
    for (int i = 0; i < 3; ++i)
        if (in.GetKind(i) != ICrunch::kFieldNumber) return false;
    format.SetMode(in.GetInt(0));
    format.SetDigits(in.GetInt(1));
    format.SetDecimals(in.GetInt(2));
    return true;
}

int CheckPlateForFile(const QPlate& plate, std::string* badName)
{
    for (const auto& d : plate.descs) {
        if (IndexOfKindCode(d->kind & 0x1F) < 0) continue;
        if (!IsStorableName(d->name)) {
            if (badName) *badName = d->name;
            return kMsgNameNotStorable;
        }
    }
    if (plate.globInUse && !EntryNamesStorable(plate, *plate.globInUse, skGlobal, badName))
        return kMsgNameNotStorable;
    if (plate.stdInUse && !EntryNamesStorable(plate, *plate.stdInUse, skStandard, badName))
        return kMsgNameNotStorable;
    for (int i = 0; i < plate.sampleCount; ++i) {
        const QSample* s = plate.GetSample(i);
        if (!s) continue;
        const std::uint32_t mask = (s->kind & skQualitative) ? skQualitative : skQuantitative;
        if (!EntryNamesStorable(plate, *s, mask, badName)) return kMsgNameNotStorable;
    }
    return 0;
}

long WritePlateFile(QPlate& plate, int fd, int flag, std::string* message)
{
    std::string bad;
    if (CheckPlateForFile(plate, &bad) != 0) {
        if (message) *message = FormatResString(kMsgNameNotStorable, CutUtf8(bad, 40).c_str());
        return -1;
    }
    BlockWriter w(fd);
    if (!WriteBlock(plate, w, flag)) {
        SetMessage(message, w.HadNotANumber() ? kMsgNotANumberValue : kMsgErrorWritingFile);
        return -1;
    }
    return w.Total();
}

bool RenderPlateBlock(QPlate& plate, int flag, std::string& block, std::string* message)
{
    block.clear();
    std::string bad;
    if (CheckPlateForFile(plate, &bad) != 0) {
        if (message) *message = FormatResString(kMsgNameNotStorable, CutUtf8(bad, 40).c_str());
        return false;
    }
    // Rendered in memory: the file is then written (or kept as the saved state) in one piece.
    BlockWriter w(block);
    if (!WriteBlock(plate, w, flag)) {
        block.clear();
        SetMessage(message, w.HadNotANumber() ? kMsgNotANumberValue : kMsgErrorWritingFile);
        return false;
    }
    return true;
}

bool SavePlateFile(QPlate& plate, const std::string& path, int flag, std::string* message)
{
    std::string block;
    if (!RenderPlateBlock(plate, flag, block, message)) return false;
    AtomicFile file(path);
    if (file.Open() && file.Write(block)) file.Commit();
    switch (file.Result().step) {
    case FileStep::None: return true;
    case FileStep::Open: SetMessage(message, kMsgCannotCreateFile); break;
    case FileStep::Close: SetMessage(message, kMsgCannotCloseFile); break;
    default: SetMessage(message, kMsgErrorWritingFile); break;
    }
    return false;
}

bool ReadPlateFile(QPlate& plate, LineReader& reader, int seqLimit, int* message)
{
    DecimalCharGuard guard;
    ICrunch in(reader);
    BlockReader block(plate, in, seqLimit);
    bool ok = true;
    int id = 0;
    for (;;) {
        const int tag = in.GetTag();
        if (tag == 0) break;
        if (tag < 0) {
            ok = false;
            id = in.GetMessage();
            break;
        }
        if (!block.Handle(tag)) {
            ok = false;
            id = block.Message();
            break;
        }
        in.NextLine();
    }
    int measured = 0, data = 0;
    for (int i = 0; i < std::min(plate.wellCount, 96); ++i) {
        QWellRecord& r = plate.wells[static_cast<std::size_t>(i)];
        // Without blanking the data values are the measured values; a block that gave only
        // one of them (DM96 or DT96 without a mode) would otherwise lose it at the next save.
        if (plate.dataMode == dmMeasured) {
            if (r.measured == NoValue) r.measured = r.data;
            r.data = r.measured;
        }
        if (r.measured != NoValue) ++measured;
        if (r.data != NoValue) ++data;
    }
    plate.measuredCount = measured;
    plate.dataCount = data;
    if (message) *message = id;
    return ok;
}

}  // namespace vyn
