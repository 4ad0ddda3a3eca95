#include "mylib/textlist.h"

bool InStringList(const QString& text, const QStringList& list) {
    for (const QString& entry : list) {
        if (entry == text) {
            return true;
        }
    }
    return false;
}
