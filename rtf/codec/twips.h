#pragma once

// RTF measures lengths in twips, 1440 to the inch; documents measure them in pixels of the
// screen's logical resolution (15 twips a pixel at 96 dots per inch).
struct TwipsPerPixel {
    double x = 15.0;
    double y = 15.0;

    // The primary screen's, or 96 dots per inch when there is no screen.
    static TwipsPerPixel ofScreen();
};
