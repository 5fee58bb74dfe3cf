// SPDX-License-Identifier: GPL-3.0-or-later
#include "SharedVariables.h"

uint8_t panic_mode = 0;
uint32_t global_own_HWnd = 0;
TColoursAndTypefaces global_colours_and_typefaces;
QString Global_user_ReadWrite_folder;
std::array<bool, 128> Global_stopLemmaMatchLoaded{};
QString my_temp_path;
