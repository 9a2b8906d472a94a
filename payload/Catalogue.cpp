#include "payload/Catalogue.h"

namespace payload {

namespace {
constexpr PayloadItem kItems[] = {
#define PAYLOAD_PROGRAM(code, target, file) {#code, target, WriteRule::Always, file, true},
#define PAYLOAD_ITEM(code, target, rule, file) {#code, target, WriteRule::rule, file, false},
#include "payload/Catalogue.def"
#undef PAYLOAD_ITEM
#undef PAYLOAD_PROGRAM
};
}  // namespace

const PayloadItem* Catalogue() { return kItems; }
std::size_t CatalogueSize() { return sizeof(kItems) / sizeof(kItems[0]); }

}  // namespace payload
