#pragma once
// The help window: shows a topic of a built-in HTML help file. Topics are anchors named
// "ctx<context id>" ("contents" for the table of contents); an id without a topic shows the
// contents. Under the test hook the window opens without taking the activation.
#include <string>

class QWidget;

namespace vyn {

// helpFile names a built-in file ("help/vyn.html"). False when the file is missing.
bool ShowHelpTopic(const std::string& helpFile, int contextId);
// True when the help file has a topic for that id.
bool HelpTopicExists(const std::string& helpFile, int contextId);
void CloseHelpWindow();
// The topic shown last (0: the contents, -1: nothing yet); for tests.
int LastHelpTopic();
void ResetLastHelpTopic();
// The heading of the topic that stands at the top of the help window ("" while it is not
// shown): what the user reads there.
std::string ShownHelpHeading();
// The text of that topic as the window shows it, its heading left out, paragraphs joined by
// blanks ("" while it is not shown).
std::string ShownHelpTopicText();
// The help window while it is shown, else none; for tests that act on it as a user does.
QWidget* ShownHelpWindow();

}  // namespace vyn
