#pragma once
// The report document: one report definition per document, stored in a report file
// ("*.qrp"): a 64-byte header (magic "QRPD") followed by the report stream.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Document.h"
#include "reports/RPReport.h"

namespace vyn {

inline constexpr int kReportFileHeaderSize = 64;

class QRepDoc : public TDocument {
public:
    explicit QRepDoc(TDocument* parent = nullptr) : TDocument(parent) {}
    // The designer's view lets go of the report on its way out.
    ~QRepDoc() override { DestroyViews(); }

    RPReport& Report() { return report_; }
    const RPReport& Report() const { return report_; }

    // Reads the file named by the document path; true also without a path (a new report).
    // A failure shows its message and leaves the report as far as it was read.
    virtual bool ReadFile();
    // The document manager's opening: a report file is read, and one that cannot be read is
    // not opened at all, so nobody saves five empty bands over it.
    bool InitDoc() override { return ReadFile(); }
    // Writes the report file whenever a path exists; false without a path (no message).
    bool Commit(bool force = false) override;
    bool Revert(bool clear = false) override;
    bool IsDirty() override { return GetDirtyFlag(); }
    bool Open(int, const char* path = nullptr) override;

    // The library entry the report was read from (0 = none), and the report stream read there,
    // by which "Save in report list" finds that entry again wherever the library moved it.
    std::uint32_t libraryEntry = 0;
    std::vector<std::uint8_t> libraryStream;

    // The bytes of a report file for a report; empty when the stream cannot be built.
    static std::vector<std::uint8_t> FileBytes(const RPReport& report);
    // Reads report file bytes: 0 done, else the string id of the failure.
    static int ReadFileBytes(const std::vector<std::uint8_t>& bytes, RPReport& report);

private:
    RPReport report_;
};

}  // namespace vyn
