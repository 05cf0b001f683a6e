// Version of the product, shared by the version resources of every program.
#pragma once

#define ZANDRIX_VERSION_NUMBERS 1, 0, 0, 0
#define ZANDRIX_VERSION_TEXT "1.0.0.0"
#define ZANDRIX_COMPANY "Ombrello"
#define ZANDRIX_PRODUCT "Ombrello_zandrix"
