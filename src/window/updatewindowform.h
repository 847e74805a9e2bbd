#ifndef UPDATEWINDOWFORM_H
#define UPDATEWINDOWFORM_H

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QWidget;

namespace Ui {

/// The update window's widgets. Each widget is a Qt child of the window (or of
/// the top bar) and dies with it; deleting the form frees only this structure.
class UpdateWindow
{
public:
    QTextEdit *textEdit = nullptr;
    QWidget *widget = nullptr;          // the black top bar
    QWidget *widget_2 = nullptr;        // the logo inside it
    QPushButton *closeButton = nullptr;
    QProgressBar *progressBar = nullptr;
    QLabel *version = nullptr;
    QPushButton *update = nullptr;

    void setupUi(QFrame *form);
    void retranslateUi(QFrame *form);
};

} // namespace Ui

#endif // UPDATEWINDOWFORM_H
