#include "app/DataBitsCombo.h"

void CDataBitsCombo::SetValue(int bits) {
    FillOnce({"5", "6", "7", "8"});
    SelectByIndex(bits - 5);
}
