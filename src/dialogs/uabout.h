#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace arcavio {

class THyperLink;

// The about window: logo, version line, credits and thanks with their six links, and OK.
// Created once and shown modally again and again; its texts never change.
class TForm2 : public QDialog {
    Q_OBJECT

  public:
    explicit TForm2(QWidget* parent = nullptr);

    QPushButton* Button1;
    QLabel* Image1;
    // The author's e-mail, the product's site, then the thanks block's four sites.
    THyperLink* HyperLink1;
    THyperLink* HyperLink2;
    THyperLink* HyperLink3;
    THyperLink* HyperLink4;
    THyperLink* HyperLink5;
    THyperLink* HyperLink6;
};

} // namespace arcavio
