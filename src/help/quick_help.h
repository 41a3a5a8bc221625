#pragma once
// The quick-help topics and the help documents that ship with the program.
#include <string>

namespace pellion {

struct ProgramState;

inline constexpr const char* kQuickHelpFileName = "pellion.qhp";
inline constexpr const char* kManualFileName = "manual/index.html";
inline constexpr const char* kTutorialFileName = "tutorial/tutorial.htm";
inline constexpr const char* kHelpFileCorrupt = "Help File Corrupt !";

// Topic n of the quick-help bytes: from just after the first "##n" to three
// bytes before the first "##n+1". kHelpFileCorrupt when that marker is
// missing or comes too early. Markers are found by their first occurrence,
// so "##1" also matches the start of "##10": the file puts topics in order.
std::string CutTopic(const std::string& bytes, int topic);

// Single-byte text as UTF-8: kept when it already is, else read as Latin-1.
std::string ToUtf8(const std::string& bytes);

// What the quick-help window shows for the topic, read from the data
// folder's copy of the file or else the shipped one. A missing file shows
// kHelpFileCorrupt and stays missing, so the shipped one is never hidden.
std::string QuickHelpText(const ProgramState& ps, int topic);

// A shipped help document (kManualFileName, kTutorialFileName) opened with
// the desktop's default application. False when nothing could open it; the
// user is told so on standard error, once per run.
bool OpenHelpDocument(ProgramState& ps, const char* name);

}  // namespace pellion
