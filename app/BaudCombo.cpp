#include "app/BaudCombo.h"

void CBaudCombo::SetValue(long baud) {
    FillOnce({"300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"});
    SelectByTextValue(baud);
}
