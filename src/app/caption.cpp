#include "app/caption.h"

#include <ctime>

namespace pellion {

namespace {

const char* const kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string twoDigits(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }

// hour12 is 0..12: 0 only for the hour after midnight, written "00".
std::string timeText(int hour12, int minute) {
    return (hour12 == 0 ? std::string("00") : std::to_string(hour12)) + ":" + twoDigits(minute);
}

int toHour12(int hour) { return hour > 12 ? hour - 12 : hour; }

std::string datePart(const DateTime& t) {
    const char* suffix = t.day == 1 ? "st" : t.day == 2 ? "nd" : t.day == 3 ? "rd" : "th";
    return std::string(kWeekdays[(t.weekday % 7 + 7) % 7]) + "  " + std::to_string(t.day) + suffix + " " +
           kMonths[((t.month - 1) % 12 + 12) % 12] + " " + twoDigits(t.year % 100);
}

std::string captionOf(const std::string& dateTime) { return std::string(kProgramName) + std::string(10, ' ') + dateTime; }

}  // namespace

DateTime DateTime::now() {
    const std::time_t s = std::time(nullptr);
    std::tm tm{};
    localtime_r(&s, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_wday, tm.tm_hour, tm.tm_min};
}

std::string DateTimeText(const DateTime& t) {
    return datePart(t) + "   " + timeText(toHour12(t.hour), t.minute);
}

std::string MainCaption(const DateTime& t) { return captionOf(DateTimeText(t)); }

std::string EarlierCaption(const DateTime& t) {
    int hour = toHour12(t.hour);
    int minute = t.minute - 1;
    if (minute < 0) {
        minute = 59;
        hour = hour == 1 ? 12 : hour == 0 ? 11 : hour - 1;
    }
    return captionOf(datePart(t) + "   " + timeText(hour, minute));
}

}  // namespace pellion
