#include "app/install_enable_rule.h"

#include <gtest/gtest.h>

namespace {

app::TMandatoryTexts Filled() {
  return {QStringLiteral("ZELMORIC"), QStringLiteral("Commerce"), QStringLiteral("M. Ben Salah"),
          QStringLiteral("D:\\"),     QStringLiteral("71234567"), QStringLiteral("1 rue X")};
}

TEST(InstallEnabled, FollowsTheMandatoryTextsAndTelephoneLength) {
  struct TCase {
    const char* what;
    void (*change)(app::TMandatoryTexts&);
    bool enabled;
  };
  const TCase cases[] = {
      {"telephone of 8 characters", [](app::TMandatoryTexts&) {}, false},
      {"telephone of 9 characters", [](app::TMandatoryTexts& t) { t.tel += '9'; }, true},
      {"telephone of 9 characters, 5 digits",
       [](app::TMandatoryTexts& t) { t.tel = QStringLiteral("1-2-3-4-5"); }, true},
      {"telephone of 9 blanks", [](app::TMandatoryTexts& t) { t.tel = QString(9, ' '); }, true},
      {"company name of one blank",
       [](app::TMandatoryTexts& t) {
         t.tel += '9';
         t.societe = QStringLiteral(" ");
       },
       true},
      {"company name empty",
       [](app::TMandatoryTexts& t) {
         t.tel += '9';
         t.societe.clear();
       },
       false},
      {"activity empty",
       [](app::TMandatoryTexts& t) {
         t.tel += '9';
         t.activite.clear();
       },
       false},
      {"licensee empty",
       [](app::TMandatoryTexts& t) {
         t.tel += '9';
         t.licence.clear();
       },
       false},
      {"path empty",
       [](app::TMandatoryTexts& t) {
         t.tel += '9';
         t.path.clear();
       },
       false},
      {"address empty",
       [](app::TMandatoryTexts& t) {
         t.tel += '9';
         t.adresse.clear();
       },
       false},
      {"telephone empty", [](app::TMandatoryTexts& t) { t.tel.clear(); }, false},
      {"path that does not exist",
       [](app::TMandatoryTexts& t) {
         t.tel += '9';
         t.path = QStringLiteral("Q:\\nowhere");
       },
       true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    app::TMandatoryTexts texts = Filled();
    c.change(texts);
    EXPECT_EQ(app::InstallEnabled(texts), c.enabled);
  }
}

}  // namespace
