#pragma once

// What the meter link tells the user (UTF-8). Each text lives here once.
namespace dorvel::messages {

inline constexpr const char* kMeterCaption = "Aurevia";
inline constexpr const char* kNoData = "Keine Daten im Messgerät!";
inline constexpr const char* kErased = "Alle daten im Gerät gelöscht";
inline constexpr const char* kCheckCable = "Fehler - bitte Kabelverbindung prüfen";
inline constexpr const char* kRepeat = "Fehler - bitte wiederholen";
inline constexpr const char* kConfirmErase = "Wirklich alle Daten im Messgerät löschen?";
inline constexpr const char* kCheckFailCaption = "Merovan";

// The second line under kCheckCable when a port could not be opened for lack
// of rights: "Kein Zugriff auf /dev/ttyUSB0 – Mitglied der Gruppe dialout werden
// und neu anmelden."
inline constexpr const char* kNoAccessPrefix = "Kein Zugriff auf ";
inline constexpr const char* kNoAccessGroup = " – Mitglied der Gruppe ";
inline constexpr const char* kNoAccessSuffix = " werden und neu anmelden.";
inline constexpr const char* kSerialGroup = "dialout";

// The port settings dialog's outcomes; %s is the port name.
inline constexpr const char* kConnected = "Verbindung für %s erfolgreich.";
inline constexpr const char* kConnectFailed = "Verbindungsfehler für %s. Bitte wiederholen.";
inline constexpr const char* kDisconnected = "Verbindung für trennen %s.";

// Progress window texts of a session.
inline constexpr const char* kSearchTitle = "Durchsuche Ports...";
inline constexpr const char* kSearchMessage = "Datenabruf..";
inline constexpr const char* kReceivingTitle = "On Receiving...";
inline constexpr const char* kDownloadTitle = "Datenabruf...";
inline constexpr const char* kDownloadMessage = "Datenabruf.....";
inline constexpr const char* kChunkEven = "suche...**..";
inline constexpr const char* kChunkOdd = "suche...*..";
// While searching: the port being tried, the attempt and the attempts in all.
inline constexpr const char* kSearchingPort = "%s – Versuch %d von %d";
// While a reply arrives whose header announced its count.
inline constexpr const char* kRecordsProgress = "%d von %d Messwerten";

}  // namespace dorvel::messages
