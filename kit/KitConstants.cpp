#include "kit/KitConstants.h"

namespace kit {

std::string KitVersionText() { return fw::CurrToStr(KitVersion); }

void ForceKitFormats() {
    fw::Formats().DecimalSeparator = '.';
    fw::Formats().DateSeparator = '.';
    fw::Formats().ShortDateFormat = "dd.MM.yyyy";
}

}  // namespace kit
