#pragma once

#include <cstdint>
#include <span>

// Dialog template 102: the main window, laid out in dialog units.
namespace res {

enum class ControlKind : uint8_t {
    GroupBox,
    Label,
    ValueField,
    DropDownList,   // combo box without edit field
    DropDownCombo,  // combo box with edit field
    ListBox,
    IconButton,
};

enum ControlStyle : uint32_t {
    kStyleNone = 0,
    kCentred = 1u << 0,     // text centred horizontally
    kSunken = 1u << 1,      // sunken frame
    kModalFrame = 1u << 2,  // raised double border instead of the sunken frame
    kWraps = 1u << 3,       // label wraps onto two lines
    kVScroll = 1u << 4,     // vertical scroll bar
    kBorder = 1u << 5,      // plain border
    kDefault = 1u << 6,     // the default push button
    kTabStop = 1u << 7,
    kTargetColour = 1u << 8,     // yellow: value fields of "AIS Targets"
    kOwnVesselColour = 1u << 9,  // cyan: value fields of "Own Vessel"
};

struct DialogControl {
    int id;  // -1 for labels and group boxes
    ControlKind kind;
    const char* text;  // Windows-1252
    int x, y, w, h;    // dialog units
    uint32_t style;
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* fontFace;
    int fontPoints;
    int width, height;  // dialog units
    std::span<const DialogControl> controls;
};

// The value fields' background colours, as Windows COLORREF values (0x00BBGGRR).
inline constexpr uint32_t kTargetColourRef = 0x0000FFFF;     // yellow
inline constexpr uint32_t kOwnVesselColourRef = 0x00FFFF00;  // cyan

inline constexpr int kIdOk = 1;
inline constexpr int kIdLineList = 1000;
inline constexpr int kIdTargetCount = 1001;
inline constexpr int kIdPortCombo = 1022;
inline constexpr int kIdBaudCombo = 1023;
inline constexpr int kIdDataBitsCombo = 1024;
inline constexpr int kIdStopBitsCombo = 1025;
inline constexpr int kIdParityCombo = 1026;
inline constexpr int kIdUpdateMark = 1033;
inline constexpr int kIdIconRadar = 128;
inline constexpr int kIdIconTick = 129;

const DialogTemplate& MainDialogTemplate();

// The template row of a control id, or nullptr.
const DialogControl* FindControl(int id);

}  // namespace res
