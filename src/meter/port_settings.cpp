#include "port_settings.h"

#include <QSettings>

namespace dorvel {

namespace {

QSettings Store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kestrana", "DorvelSuite");
}

// The stored name of `name` in the current group, whatever its letter case.
QString FindKey(const QSettings& settings, const QString& name) {
    for (const QString& key : settings.childKeys()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return key;
    }
    return name;
}

}  // namespace

int StoredPortSettings::Port() const {
    QSettings s = Store();
    s.beginGroup("Edit");
    bool ok = false;
    const int port = s.value(FindKey(s, "Port"), 1).toInt(&ok);
    return ok ? port : 1;
}

void StoredPortSettings::SetPort(int port) {
    QSettings s = Store();
    s.beginGroup("Edit");
    s.setValue(FindKey(s, "Port"), port);
    s.endGroup();
    s.sync();
}

std::string StoredPortSettings::DeviceOverride(const std::string& label) const {
    QSettings s = Store();
    s.beginGroup("Ports");
    return s.value(FindKey(s, QString::fromStdString(label))).toString().toStdString();
}

}  // namespace dorvel
