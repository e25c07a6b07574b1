#include "core/system/SystemLocale.h"

#include <QLocale>
#include <QtCore/private/qlocale_p.h>

namespace zirpel {

namespace {

// Windows gives the toolkit the user's locale through its own calls, which no variable
// changes. The first system locale made replaces the toolkit's: this one answers no
// query, so every format comes from the German locale it falls back on.
class GermanSystemLocale : public QSystemLocale {
public:
    QVariant query(QueryType, QVariant) const override { return {}; }
    QLocale fallbackLocale() const override { return QLocale(QLocale::German, QLocale::Germany); }
};

} // namespace

void UseGermanSystemLocale() {
    static GermanSystemLocale locale;
}

} // namespace zirpel
