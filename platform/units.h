#pragma once

// Window and control positions are kept in twips, 1440 to the inch; the screen's
// logical resolution turns them into pixels (15 twips a pixel at 96 dots per inch).
double twipsPerPixelX();
double twipsPerPixelY();
int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
double pixelsToTwipsX(int pixels);
double pixelsToTwipsY(int pixels);

class QWidget;
// Places a control at a position and size given in twips.
void placeInTwips(QWidget *control, double left, double top, double width, double height);
