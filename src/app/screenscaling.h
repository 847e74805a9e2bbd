#ifndef SCREENSCALING_H
#define SCREENSCALING_H

/// Scales the window with the screen's display scale, by exactly its factor
/// (125 % gives 1.25), and draws pictures from their @2x variants where the
/// scale calls for them. Must run before the QApplication exists.
void enableHighDpiScaling();

#endif // SCREENSCALING_H
