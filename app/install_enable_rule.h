#pragma once
// The rule that decides whether the "&Installer" button of the parameters page may be
// pressed. It looks only at the six mandatory texts, taken as they are: blanks count as
// content, and the telephone counts characters of any kind, not digits.

#include <QString>

namespace app {

struct TMandatoryTexts {
  QString societe;
  QString activite;
  QString licence;
  QString path;
  QString tel;
  QString adresse;
};

// The telephone's least length, in characters.
inline constexpr int kMinTelLength = 9;

// True when all six texts are non-empty and the telephone holds at least kMinTelLength
// characters. Whether the path exists is the installation procedure's check, not this one.
bool InstallEnabled(const TMandatoryTexts& texts);

}  // namespace app
