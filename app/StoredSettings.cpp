// Reading and writing the twelve settings values, in their fixed order.
#include "app/StoredSettings.h"

namespace zirpel {

namespace {

const char* const RecentNames[] = {"Datei1", "Datei2", "Datei3", "Datei4"};

QString Name(const char* name) {
    return QString::fromLatin1(name);
}

// The integers as one unit: the first value that is missing or of another type ends it,
// and what was set before stays set.
bool ReadIntegers(SettingsStore& store, LoadedSettings& loaded) {
    const std::optional<qint32> top = store.readInt(Name("frmTop"));
    if (!top)
        return false;
    const std::optional<qint32> left = store.readInt(Name("frmLeft"));
    if (!left)
        return false;
    loaded.topLeft = QPoint(*left, *top);
    qint32* targets[] = {&loaded.values.rows, &loaded.values.columns,
                         &loaded.values.decimalAddresses, &loaded.values.gridLineWidth};
    const char* names[] = {"HexReihen", "HexSpalten", "HexOrDez", "Gitter"};
    for (int i = 0; i < 4; ++i) {
        const std::optional<qint32> value = store.readInt(Name(names[i]));
        if (!value)
            return false;
        *targets[i] = *value;
    }
    return true;
}

} // namespace

LoadedSettings LoadStoredSettings(SettingsStore& store, const StoredSettings& current) {
    LoadedSettings loaded;
    loaded.values = current;
    loaded.values.recentFiles = {};
    bool complete = false;
    if (store.open(false)) {
        for (int i = 0; i < 4; ++i) {
            // A value of another type is taken as an empty slot.
            loaded.values.recentFiles[i] =
                store.readString(Name(RecentNames[i])).value_or(QString());
        }
        complete = ReadIntegers(store, loaded);
    }
    if (!complete) {
        loaded.centre = true;
        loaded.values.rows = 16;
        loaded.values.columns = 16;
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
    for (int i = 0; i < 4; ++i)
        all &= store.writeString(Name(RecentNames[i]), values.recentFiles[i]);
    const std::pair<const char*, qint32> integers[] = {
        {"frmTop", frame.top()},
        {"frmLeft", frame.left()},
        {"frmWidth", frame.width()},
        {"frmHeight", frame.height()},
        {"HexReihen", values.rows},
        {"HexSpalten", values.columns},
        {"HexOrDez", values.decimalAddresses},
        {"Gitter", values.gridLineWidth},
    };
    for (const auto& [name, value] : integers)
        all &= store.writeInt(Name(name), value);
    store.close();
    return all;
}

} // namespace zirpel
