// Reading and writing the twelve settings values, in their fixed order.
#include "core/settings/StoredSettings.h"
#include "core/view/Page.h"

namespace zirpel {

namespace {

const char* const RecentNames[kRecentFiles] = {"Datei1", "Datei2", "Datei3", "Datei4"};

// The integer values, in the one order in which they are read and written.
struct Integers {
    qint32 top = 0;
    qint32 left = 0;
    qint32 width = 0;
    qint32 height = 0;
    qint32 rows = 0;
    qint32 columns = 0;
    qint32 decimalAddresses = 0;
    qint32 gridLineWidth = 0;
};

struct IntegerKey {
    const char* name;
    qint32 Integers::*field;
    // The window's size always comes from the layout: it is written, never read.
    bool readAtStart;
};

constexpr IntegerKey IntegerKeys[] = {
    {"frmTop", &Integers::top, true},
    {"frmLeft", &Integers::left, true},
    {"frmWidth", &Integers::width, false},
    {"frmHeight", &Integers::height, false},
    {"HexReihen", &Integers::rows, true},
    {"HexSpalten", &Integers::columns, true},
    {"HexOrDez", &Integers::decimalAddresses, true},
    {"Gitter", &Integers::gridLineWidth, true},
};
// The window is placed only when both edges were read, before anything else.
static_assert(IntegerKeys[0].field == &Integers::top && IntegerKeys[1].field == &Integers::left);

QString Name(const char* name) {
    return QString::fromLatin1(name);
}

// The integers as one unit: the first value that is missing or of another type ends it,
// and what was set before stays set.
bool ReadIntegers(SettingsStore& store, LoadedSettings& loaded) {
    StoredSettings& v = loaded.values;
    Integers read{0, 0, 0, 0, v.rows, v.columns, v.decimalAddresses, v.gridLineWidth};
    bool complete = true;
    for (const IntegerKey& key : IntegerKeys) {
        if (!key.readAtStart)
            continue;
        const std::optional<qint32> value = store.readInt(Name(key.name));
        if (!value) {
            complete = false;
            break;
        }
        read.*key.field = *value;
        if (key.field == &Integers::left)
            loaded.topLeft = QPoint(read.left, read.top);
    }
    v.rows = read.rows;
    v.columns = read.columns;
    v.decimalAddresses = read.decimalAddresses;
    v.gridLineWidth = read.gridLineWidth;
    return complete;
}

} // namespace

LoadedSettings LoadStoredSettings(SettingsStore& store, const StoredSettings& current) {
    LoadedSettings loaded;
    loaded.values = current;
    loaded.values.recentFiles = {};
    bool complete = false;
    if (store.open(false)) {
        for (int i = 0; i < kRecentFiles; ++i) {
            // A value of another type is taken as an empty slot.
            loaded.values.recentFiles[i] =
                store.readString(Name(RecentNames[i])).value_or(QString());
        }
        complete = ReadIntegers(store, loaded);
    }
    if (!complete) {
        loaded.centre = true;
        loaded.values.rows = kFallbackPageShape;
        loaded.values.columns = kFallbackPageShape;
    }
    store.close();
    return loaded;
}

bool SaveStoredSettings(SettingsStore& store, const StoredSettings& values, const QRect& frame) {
    if (!store.open(true)) {
        store.close();
        return false;
    }
    bool all = true;
    for (int i = 0; i < kRecentFiles; ++i)
        all &= store.writeString(Name(RecentNames[i]), values.recentFiles[i]);
    const Integers integers{
        frame.top(), frame.left(),   frame.width(),           frame.height(),
        values.rows, values.columns, values.decimalAddresses, values.gridLineWidth};
    for (const IntegerKey& key : IntegerKeys)
        all &= store.writeInt(Name(key.name), integers.*key.field);
    store.close();
    return all;
}

} // namespace zirpel
