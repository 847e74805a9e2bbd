#include "updatewindowform.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>

namespace {

// The geometry is given left to right; a right-to-left window mirrors it,
// as Windows mirrors a right-to-left dialog.
template <typename Widget>
Widget *addWidget(QWidget *parent, const char *name, const QRect &geometry, const char *styleSheet)
{
    auto *child = new Widget(parent);
    child->setObjectName(QString::fromLatin1(name));
    child->setGeometry(QStyle::visualRect(parent->layoutDirection(), parent->rect(), geometry));
    child->setStyleSheet(QString::fromLatin1(styleSheet));
    return child;
}

const char progressBarSheet[] =
    "QProgressBar:horizontal {border: 1px solid #525c60; border-radius: 10px; "
    "background: #222a2c; padding: 1px;text-align: center;color:none;}\n"
    "QProgressBar::chunk:horizontal {background: qlineargradient(x1: 0, y1: 0.5, x2: 0, y2: 1, "
    "stop: 0 #38f9c3, stop: 1 #3c8f7a); border-radius: 7px;}";

const char closeButtonSheet[] =
    "QPushButton#closeButton\n{\n    background-color: transparent;\n    margin:6px;\n"
    "    border-image:url(:/image/close_t.png);\n}\n"
    "QPushButton#closeButton:hover\n{\n    border-image:url(:/image/close.png);\n}";

const char updateButtonSheet[] =
    "QPushButton:pressed,QPushButton:hover{\ncolor:white;\n}\n"
    "QPushButton{\nborder-radius:2px;\ncolor:#888e8d;\n}";

// The notes box's first text, as the form editor wrote it around the sentence.
const char noVersionInformationHtml[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" \"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
    "<html><head><meta name=\"qrichtext\" content=\"1\" /><style type=\"text/css\">\n"
    "p, li { white-space: pre-wrap; }\n"
    "</style></head><body style=\" font-family:'SimSun'; font-size:9pt; font-weight:400; "
    "font-style:normal;\">\n"
    "<p style=\" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; "
    "-qt-block-indent:0; text-indent:0px;\">%1</p></body></html>";

} // namespace

namespace Ui {

void UpdateWindow::setupUi(QFrame *form)
{
    if (form->objectName().isEmpty())
        form->setObjectName(QStringLiteral("UpdateWindow"));
    form->resize(639, 365);
    form->setStyleSheet(QStringLiteral("background-color:#525c60;\nborder:1px solid black;"));
    form->setFrameShape(QFrame::StyledPanel);
    form->setFrameShadow(QFrame::Raised);

    textEdit = addWidget<QTextEdit>(form, "textEdit", QRect(70, 110, 511, 151),
        "background-color: #3c4244;\nborder:1px solid black;\nborder-radius:5px;\ncolor:white;");
    widget = addWidget<QWidget>(form, "widget", QRect(0, 0, 641, 41),
        "background-color: rgb(0, 0, 0);");
    widget_2 = addWidget<QWidget>(widget, "widget_2", QRect(0, 0, 151, 41),
        "image: url(:/image/logo.png);");
    closeButton = addWidget<QPushButton>(widget, "closeButton", QRect(607, 7, 26, 26),
        closeButtonSheet);
    progressBar = addWidget<QProgressBar>(form, "progressBar", QRect(70, 310, 411, 21),
        progressBarSheet);
    progressBar->setValue(0);
    version = addWidget<QLabel>(form, "version", QRect(70, 70, 181, 31),
        "color:white;\nborder:none;");
    update = addWidget<QPushButton>(form, "update", QRect(510, 310, 75, 21),
        updateButtonSheet);

    retranslateUi(form);
    QMetaObject::connectSlotsByName(form);
}

void UpdateWindow::retranslateUi(QFrame *form)
{
    form->setWindowTitle(QCoreApplication::translate("UpdateWindow", "Frame"));
    const QString noInformation = QCoreApplication::translate("UpdateWindow", "There is no version infomation!");
    textEdit->setHtml(QString::fromLatin1(noVersionInformationHtml).arg(noInformation.toHtmlEscaped()));
    closeButton->setText(QString());
    // The version is no text to translate: the label reads as after detection.
    version->setText(QCoreApplication::translate("UpdateWindow", "New Version: ") + QLatin1String("1.0.0"));
    update->setText(QCoreApplication::translate("UpdateWindow", "Update"));
}

} // namespace Ui
