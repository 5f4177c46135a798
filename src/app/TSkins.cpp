#include "app/TSkins.h"

#include <QFile>

#include "util/ENorvaleError.h"
#include "util/TRegistry.h"

static void InitSkinResources() {
    Q_INIT_RESOURCE(skins);
}

namespace norvale {

namespace {
struct TSkinEntry {
    const char* caption;
    const char* key;
};
constexpr TSkinEntry kStore[TSkins::kStoreCount] = {
    {"Office 2003", "office2003"}, {"Silver", "silver"}, {"Mac", "mac"}, {"Yellow", "yellow"}};

void EnsureResources() {
    // The window library is static: its resources register only when asked to.
    static const bool done = [] {
        InitSkinResources();
        return true;
    }();
    (void)done;
}
}  // namespace

QString TSkins::Caption(int storePosition) {
    if (storePosition < 0 || storePosition >= kStoreCount)
        return {};
    return QString::fromLatin1(kStore[storePosition].caption);
}

QString TSkins::StyleSheet(int storePosition) {
    if (storePosition < 0 || storePosition >= kStoreCount)
        throw ENorvaleError("The skin store holds no skin at position " +
                            std::to_string(storePosition));
    EnsureResources();
    QFile file(
        QStringLiteral(":/skins/%1.qss").arg(QString::fromLatin1(kStore[storePosition].key)));
    if (!file.open(QIODevice::ReadOnly))
        throw ENorvaleError(std::string("The skin \"") + kStore[storePosition].caption +
                            "\" cannot be read");
    return QString::fromUtf8(file.readAll());
}

QString TSkins::ToolbarBitmap(int storePosition) {
    if (storePosition < 0 || storePosition >= kStoreCount)
        return {};
    EnsureResources();
    return QStringLiteral(":/skins/%1_toolbar.png")
        .arg(QString::fromLatin1(kStore[storePosition].key));
}

int TSkins::StoredMenuPosition(TRegistry& registry) {
    int position = 1;
    try {
        registry.OpenKey(kKey, true);
        if (registry.ValueExists(kValue))
            position = registry.ReadInteger(kValue);
    } catch (const std::exception&) {
        position = 1;  // a value that is not a number counts as missing
    }
    registry.CloseKey();
    if (position < 0 || position > 4)
        position = 1;
    return position;
}

void TSkins::StoreMenuPosition(TRegistry& registry, std::int32_t position) {
    registry.OpenKey(kKey, true);
    registry.WriteInteger(kValue, position);
    registry.CloseKey();
}

}  // namespace norvale
