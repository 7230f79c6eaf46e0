#include "user_settings.h"

namespace dorvel {

std::string_view MealSlotName(int slot) {
    switch (slot) {
        case 1:
            return "Schlaf";
        case 2:
            return "vor Fr\xFChst\xFC"
                   "ck";
        case 3:
            return "nach Fr\xFChst\xFC"
                   "ck";
        case 4:
            return "vor Mittagessen";
        case 5:
            return "Nach Mittagessen";
        case 6:
            return "vor Abendessen";
        case 7:
            return "nach Abendessen";
        case 8:
            return "Abend";
        default:
            return {};
    }
}

}  // namespace dorvel
