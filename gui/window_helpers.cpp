// The tooltip table and the centring arithmetic.
#include "gui/window_helpers.h"

const MainTooltip kMainTooltips[kMainTooltipCount] = {
    {1, "Quit and save the parameters"},
    {1117, "Save the parameters in the current ini file"},
    {2, "Quit without saving the parameters"},
    {1061, "Select one or more files from the folder\r\nTo convert all the selected folder just click 'Launch'"},
    {1017, "Launch the conversion process"},
    {1116, "Select another ini file"},
    {1070, "When converted, the PDF files will be moved to that path"},
    {1115, "The ini file which will be used by Ombrello_zandrix"},
    {1096, "The PDF source path will be reproduced in the move path\r\nie:\r\nif the source file is "
           "c:\\pdf\\test.pdf\r\nand the move path is  d:\\converted\r\nthe PDF file will be moved to "
           "d:\\converted\\pdf\\test.pdf"},
};

void CenteredOrigin(long left, long top, long right, long bottom, long screenWidth,
                    long screenHeight, long* x, long* y) {
    *x = (screenWidth + left - right) / 2;
    *y = (screenHeight + top - bottom) / 2;
}
