#pragma once
#include "model/Song.h"

namespace lv {

void InsertController32Events(TSong& song);
void RemoveController32Events(TSong& song);

} // namespace lv
