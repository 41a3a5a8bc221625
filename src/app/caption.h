#pragma once
// The main window's caption, by which a second copy finds the running one.
#include <string>

namespace pellion {

// A local date and time to the minute.
struct DateTime {
    int year = 2000;
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int weekday = 0;  // 0 Sunday .. 6 Saturday
    int hour = 0;     // 0..23
    int minute = 0;   // 0..59

    static DateTime now();
};

inline constexpr const char* kProgramName = " Pellion Clipboard";

// "Saturday  5th Dec 26   5:07"
std::string DateTimeText(const DateTime& t);
// " Pellion Clipboard", ten blanks, DateTimeText.
std::string MainCaption(const DateTime& t);
// The caption the running copy showed a minute ago: the same date, the time
// stepped back one minute as the caption writes times.
std::string EarlierCaption(const DateTime& t);

}  // namespace pellion
