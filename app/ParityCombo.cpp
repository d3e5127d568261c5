#include "app/ParityCombo.h"

void CParityCombo::FillList() {
    FillOnce({"NONE", "ODD", "EVEN", "MARK", "SPACE"});
}

void CParityCombo::SetValue(int parityIndex) {
    FillList();
    SelectByIndex(parityIndex);
}
