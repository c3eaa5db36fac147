#include "app/install_enable_rule.h"

namespace app {

bool InstallEnabled(const TMandatoryTexts& texts) {
  // Read in this order, stopping at the first empty one.
  for (const QString* text :
       {&texts.societe, &texts.activite, &texts.licence, &texts.path, &texts.tel, &texts.adresse}) {
    if (text->isEmpty()) {
      return false;
    }
  }
  return texts.tel.size() >= kMinTelLength;
}

}  // namespace app
