#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace arcavio {

class HyperlinkLabel;

// The about window: logo, version line, credits and thanks with their six links, and OK.
// Created once and shown modally again and again; its texts never change.
class AboutWindow : public QDialog {
    Q_OBJECT

  public:
    explicit AboutWindow(QWidget* parent = nullptr);

    QPushButton* Button1;
    QLabel* Image1;
    // The author's e-mail, the product's site, then the thanks block's four sites.
    HyperlinkLabel* HyperLink1;
    HyperlinkLabel* HyperLink2;
    HyperlinkLabel* HyperLink3;
    HyperlinkLabel* HyperLink4;
    HyperlinkLabel* HyperLink5;
    HyperlinkLabel* HyperLink6;
};

} // namespace arcavio
