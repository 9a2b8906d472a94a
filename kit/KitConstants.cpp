#include "kit/KitConstants.h"

namespace kit {

std::string KitVersionText() { return fw::CurrToStr(KitVersion); }

}  // namespace kit
