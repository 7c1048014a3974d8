// SPDX-License-Identifier: MIT
#include "font_config_reader.h"

#include <fontconfig/fontconfig.h>

FontConfigReader::FontConfigReader() : reader_([] { FcInit(); }) {}

FontConfigReader::~FontConfigReader() {
    wait();
}

void FontConfigReader::wait() {
    if (reader_.joinable())
        reader_.join();
}
