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

// Control ids: each named once, here; the table, the poll cycle and both windows use the names.
enum ControlId : int {
    kIdOk = 1,
    kIdLineList = 1000,
    kIdTargetCount = 1001,
    kIdTargetMmsi = 1002,
    kIdTargetImoNumber = 1003,
    kIdTargetCallSign = 1004,
    kIdTargetName = 1005,
    kIdOwnMmsi = 1006,
    kIdTargetLatitude = 1007,
    kIdTargetLongitude = 1008,
    kIdTargetSpeed = 1009,
    kIdTargetCourse = 1010,
    kIdTargetHeading = 1011,
    kIdTargetRateOfTurn = 1012,
    kIdTargetShipType = 1013,
    kIdTargetNavStatus = 1014,
    kIdTargetAccuracy = 1015,
    kIdTargetFixType = 1016,
    kIdTargetLength = 1017,
    kIdTargetWidth = 1018,
    kIdTargetDraught = 1019,
    kIdTargetEta = 1020,
    kIdTargetDestination = 1021,
    kIdPortCombo = 1022,
    kIdBaudCombo = 1023,
    kIdDataBitsCombo = 1024,
    kIdStopBitsCombo = 1025,
    kIdParityCombo = 1026,
    kIdOwnLatitude = 1027,
    kIdOwnLongitude = 1028,
    kIdOwnSpeed = 1029,
    kIdOwnCourse = 1030,
    kIdOwnAccuracy = 1031,
    kIdOwnHeading = 1032,
    kIdUpdateMark = 1033,
};
// The ids from the list to the last value field, which the Linux window keeps in an array
// indexed by id.
inline constexpr int kFirstIndexedId = kIdLineList;
inline constexpr int kLastIndexedId = kIdUpdateMark;

inline constexpr int kIdIconRadar = 128;
inline constexpr int kIdIconTick = 129;

const DialogTemplate& MainDialogTemplate();

// The template row of a control id, or nullptr.
const DialogControl* FindControl(int id);

}  // namespace res
