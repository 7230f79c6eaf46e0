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

}  // namespace dorvel::messages
