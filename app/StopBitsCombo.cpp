#include "app/StopBitsCombo.h"

void CStopBitsCombo::SetValue(int stopBits) {
    FillOnce({"1", "2"});
    SelectByIndex(stopBits - 1);
}
