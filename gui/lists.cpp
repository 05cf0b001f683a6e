// Entries of the drop-down lists.
#include "gui/lists.h"

const DropDownList kDropDownLists[kDropDownListCount] = {
    {1011, 5, {"FAX 3", "FAX Group4", "JPEG", "RLE (Packbits)", "Zip"}},
    {1041, 4, {"JPEG", "LZW", "RLE", "ZIP"}},
    {1052, 3, {"RGB", "GRAY", "CMYK"}},
    {1124, 4, {"A3", "A4", "A5", "Letter"}},
    {1252, 1, {"MS-Dos"}},
    {1101, 8, {"PS", "PS II", "PS III", "EPI", "EPS", "EPT", "EPSI", "EPSF"}},
    {1165, 9, {"Centered", "Centered East", "Centered North", "Centered South", "Centered West",
               "North East", "North West", "South East", "South West"}},
};
