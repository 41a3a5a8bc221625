#pragma once
// The user's settings and remembered window positions, stored whole as the
// 113-byte file "pellion.ini" (little-endian, no padding). In memory the
// record is naturally aligned; only the file layout is fixed.
#include <cstdint>
#include <string>

namespace pellion {

struct SettingsRecord {
    std::string VersionMarker = "PCV4.00";  // 7 single-byte characters in the file
    std::int16_t BulkCount = 0;
    std::int32_t ReducedTop = 0;
    std::int32_t ReducedLeft = 0;
    std::int32_t Reserved1 = 0;
    std::int32_t Reserved2 = 0;
    std::int32_t ClipboardClipsColour = 0xFFFFFF;
    std::int32_t GroupClipsColour = 0xFFFFFF;
    std::int32_t GroupNamesColour = 0xFFFFFF;
    std::int16_t Reserved3 = 0;
    std::int16_t KeysOption = 0;
    std::int16_t IconOption = 1;
    std::int16_t HelpOption = -1;
    std::int16_t ClearOption = 1;
    std::int16_t FontOption = 0;
    std::int16_t CurrentGroup = 0;
    float ViewerTop = 0;
    float ViewerLeft = 0;
    float ViewerHeight = 5672;
    float ViewerWidth = 6852;
    std::int16_t GroupMode = 0;
    std::int16_t SizeOption = 1;
    std::int32_t TransferSlotsColour = 0xFFFFFF;
    std::int16_t Reserved4 = 0;
    std::int16_t OnTop = 0;
    std::int16_t ClipMode = 0;
    std::int16_t CaptureMode = 0;
    std::int16_t Layout = 0;
    std::int16_t LastReducedLayout = 1;
    std::int16_t CurrentLibrary = 1;
    std::int16_t HelpShown = 0;
    std::int16_t BulkSpacing = 1;
    std::int16_t BulkOption = 0;
    std::int16_t StickyOption = 1;
    std::int16_t DockTop = 1;
    std::int16_t DockBottom = 0;
    std::int16_t DockLeft = 1;
    std::int16_t DockRight = 0;
    float ColumnTop = 0;
    float ColumnLeft = 0;
};

inline constexpr std::size_t kSettingsFileSize = 113;

}  // namespace pellion
