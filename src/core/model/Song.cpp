#include "model/Song.h"

namespace lv {

TUserDialogs& TSong::UserDialogs() {
    static TSilentDialogs silent;
    return Dialogs ? *Dialogs : silent;
}

} // namespace lv
