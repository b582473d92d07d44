#pragma once
// The program's report commands: the report list manager ("&Reports ..."), a report printed or
// previewed over the current plate, the report designer's print, preview, page setup and
// "Save in report list", the sample simulation of a run without a plate, and the opening of
// report files.
#include <string>

namespace vyn {

class vynwApp;
class TDocument;
class QRepView;

// Binds the commands and the designer's hooks to the application.
void InstallReportCommands(vynwApp& app);
// The report designer view of the active MDI child, or none.
QRepView* ActiveReportView(vynwApp& app);
// Opens a report file in the designer (an open one is only activated); none when it cannot be
// read, after the file's message.
TDocument* OpenReportFile(vynwApp& app, const std::string& path);
// Opens a plate or a report file, by its name.
TDocument* OpenAnyFile(vynwApp& app, const std::string& path);
// The filter of the "Open" dialog: plates and reports.
std::string OpenFileFilter();
// "Save" and "Save As" of the active report designer (a path is asked for when there is none
// or askPath is set); false when no report designer is active.
bool SaveActiveReport(vynwApp& app, bool askPath);
// The report's "Save As" dialog for the document, opened on path; false when the user cancelled.
bool AskReportPath(vynwApp& app, const TDocument& doc, std::string& path);

}  // namespace vyn
