#include "res/DialogTemplate.h"

#include <array>

namespace res {
namespace {

using enum ControlKind;

constexpr uint32_t kLabel = kStyleNone;
constexpr uint32_t kTarget = kSunken | kTargetColour;
constexpr uint32_t kOwn = kSunken | kOwnVesselColour;
constexpr uint32_t kDropDown = kVScroll | kTabStop;

// Rows in creation order, which is also the tab order: OK button, list box, combo boxes.
// "MSSI" and "Desitantion" are the original dialog's spellings, kept as users know them.
constexpr std::array kControls = {
    DialogControl{kIdOk, IconButton, "OK", 333, 358, 29, 26, kDefault | kTabStop},

    DialogControl{-1, GroupBox, "Own Vessel", 7, 7, 355, 55, kStyleNone},
    DialogControl{-1, Label, "MSSI", 23, 18, 22, 13, kLabel},
    DialogControl{kIdOwnMmsi, ValueField, "", 53, 18, 50, 12, kOwn},
    DialogControl{-1, Label, "Accuracy", 111, 17, 40, 12, kLabel},
    DialogControl{kIdOwnAccuracy, ValueField, "", 159, 17, 45, 13, kOwn},
    DialogControl{-1, Label, "Heading", 212, 17, 31, 12, kLabel},
    DialogControl{kIdOwnHeading, ValueField, "", 251, 18, 45, 13, kOwn},
    DialogControl{kIdUpdateMark, ValueField, "Static", 309, 18, 36, 12, kCentred | kModalFrame},
    DialogControl{-1, Label, "Latitude", 21, 39, 29, 12, kLabel},
    DialogControl{kIdOwnLatitude, ValueField, "", 54, 39, 58, 12, kOwn},
    DialogControl{-1, Label, "Longitude", 116, 39, 34, 12, kLabel},
    DialogControl{kIdOwnLongitude, ValueField, "", 154, 39, 58, 12, kOwn},
    DialogControl{-1, Label, "SOG", 216, 39, 24, 12, kLabel},
    DialogControl{kIdOwnSpeed, ValueField, "", 244, 39, 36, 12, kOwn},
    DialogControl{-1, Label, "COG", 284, 39, 24, 12, kLabel},
    DialogControl{kIdOwnCourse, ValueField, " ", 309, 39, 36, 12, kOwn},

    DialogControl{-1, GroupBox, "AIS Targets", 7, 68, 355, 154, kStyleNone},
    DialogControl{-1, Label, "Number of Targets", 25, 82, 64, 12, kLabel},
    DialogControl{kIdTargetCount, ValueField, "", 89, 82, 29, 12, kTarget | kCentred},
    DialogControl{-1, Label, "MSSI", 25, 102, 22, 13, kLabel},
    DialogControl{kIdTargetMmsi, ValueField, "", 52, 102, 50, 12, kTarget},
    DialogControl{-1, Label, "IMO Number", 107, 102, 43, 12, kLabel},
    DialogControl{kIdTargetImoNumber, ValueField, "", 155, 102, 50, 12, kTarget},
    DialogControl{-1, Label, "Call Sign", 210, 102, 34, 12, kLabel},
    DialogControl{kIdTargetCallSign, ValueField, "", 249, 102, 32, 12, kTarget},
    DialogControl{-1, Label, "Name", 25, 123, 23, 12, kLabel},
    DialogControl{kIdTargetName, ValueField, "", 57, 123, 90, 12, kTarget},
    DialogControl{-1, Label, "Heading", 156, 123, 31, 12, kLabel},
    DialogControl{kIdTargetHeading, ValueField, "", 196, 123, 45, 13, kTarget},
    DialogControl{-1, Label, "Rate of Turn", 250, 123, 40, 12, kLabel},
    DialogControl{kIdTargetRateOfTurn, ValueField, "", 304, 123, 45, 13, kTarget},
    DialogControl{-1, Label, "Latitude", 25, 143, 29, 12, kLabel},
    DialogControl{kIdTargetLatitude, ValueField, "", 58, 143, 58, 12, kTarget},
    DialogControl{-1, Label, "Longitude", 120, 143, 34, 12, kLabel},
    DialogControl{kIdTargetLongitude, ValueField, "", 158, 143, 58, 12, kTarget},
    DialogControl{-1, Label, "SOG", 220, 143, 24, 12, kLabel},
    DialogControl{kIdTargetSpeed, ValueField, "", 248, 143, 36, 12, kTarget},
    DialogControl{-1, Label, "COG", 288, 143, 24, 12, kLabel},
    DialogControl{kIdTargetCourse, ValueField, " ", 313, 143, 36, 12, kTarget},
    DialogControl{-1, Label, "Type", 25, 163, 23, 12, kLabel},
    DialogControl{kIdTargetShipType, ValueField, "", 51, 163, 45, 13, kTarget},
    DialogControl{-1, Label, "Status", 99, 163, 23, 12, kLabel},
    DialogControl{kIdTargetNavStatus, ValueField, "", 125, 163, 45, 13, kTarget},
    DialogControl{-1, Label, "Accuracy", 173, 163, 40, 12, kLabel},
    DialogControl{kIdTargetAccuracy, ValueField, "", 216, 163, 45, 13, kTarget},
    DialogControl{-1, Label, "Nav Sensor", 264, 163, 40, 12, kLabel},
    DialogControl{kIdTargetFixType, ValueField, "", 304, 163, 45, 13, kTarget},
    DialogControl{-1, Label, "Length", 25, 183, 40, 12, kLabel},
    DialogControl{kIdTargetLength, ValueField, "", 79, 183, 45, 13, kTarget},
    DialogControl{-1, Label, "Width", 138, 183, 40, 12, kLabel},
    DialogControl{kIdTargetWidth, ValueField, "", 192, 183, 45, 13, kTarget},
    DialogControl{-1, Label, "Draft", 251, 183, 40, 12, kLabel},
    DialogControl{kIdTargetDraught, ValueField, "", 304, 183, 45, 13, kTarget},
    DialogControl{-1, Label, "Desitantion", 25, 203, 40, 12, kLabel},
    DialogControl{kIdTargetDestination, ValueField, "", 71, 203, 132, 13, kTarget},
    DialogControl{-1, Label, "ETA", 247, 203, 17, 12, kLabel},
    DialogControl{kIdTargetEta, ValueField, "", 267, 203, 82, 13, kTarget},

    DialogControl{-1, GroupBox, "COM Port", 7, 226, 355, 124, kStyleNone},
    DialogControl{kIdLineList, ListBox, "", 13, 259, 338, 85, kBorder | kVScroll | kTabStop},
    DialogControl{-1, Label, "Port No", 29, 241, 30, 12, kLabel},
    DialogControl{kIdPortCombo, DropDownList, "", 61, 241, 32, 57, kDropDown},
    DialogControl{-1, Label, "Baud Rate", 95, 239, 22, 15, kWraps},
    DialogControl{kIdBaudCombo, DropDownList, "", 119, 241, 44, 74, kDropDown},
    DialogControl{-1, Label, "Data Bits", 233, 239, 18, 15, kWraps},
    DialogControl{kIdDataBitsCombo, DropDownCombo, "", 253, 241, 32, 30, kDropDown},
    DialogControl{-1, Label, "Stop Bits", 287, 239, 18, 15, kWraps},
    DialogControl{kIdStopBitsCombo, DropDownCombo, "", 307, 241, 32, 30, kDropDown},
    DialogControl{-1, Label, "Parity", 165, 241, 19, 13, kLabel},
    DialogControl{kIdParityCombo, DropDownList, "", 186, 241, 45, 110, kDropDown},
};

// The windows keep the value fields in arrays indexed by id.
constexpr bool ValueFieldsIndexed() {
    for (const DialogControl& c : kControls) {
        if (c.kind == ValueField && (c.id < kFirstIndexedId || c.id > kLastIndexedId)) {
            return false;
        }
    }
    return true;
}
static_assert(ValueFieldsIndexed());

constexpr DialogTemplate kMainDialog{
    102, "Brenlow", "MS Sans Serif", 8, 369, 391, std::span<const DialogControl>(kControls),
};

}  // namespace

const DialogTemplate& MainDialogTemplate() {
    return kMainDialog;
}

const DialogControl* FindControl(int id) {
    for (const DialogControl& c : kControls) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

}  // namespace res
