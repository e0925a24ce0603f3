#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QSize>
#include <QTimer>
#include <QWidget>

namespace arcavio {

// A list of pictures of one size, from which a region button can take its four pictures.
class PictureList : public QObject {
    Q_OBJECT
  public:
    PictureList(int width, int height, QObject* parent = nullptr);

    QSize imageSize() const { return size_; }
    int count() const { return static_cast<int>(images_.size()); }
    // Keeps a copy drawn into the list's size (top-left aligned, on white); returns its index.
    int add(const QImage& image);
    const QImage& image(int index) const { return images_.at(static_cast<std::size_t>(index)); }

  private:
    QSize size_;
    std::vector<QImage> images_;
};

// One of the button's four pictures: a bitmap or nothing. It tells its button whenever its
// contents change, so the button repaints.
class ButtonPicture {
  public:
    explicit ButtonPicture(std::function<void()> changed) : changed_(std::move(changed)) {}
    ButtonPicture(const ButtonPicture&) = delete;
    ButtonPicture& operator=(const ButtonPicture&) = delete;

    bool empty() const { return image_.isNull(); }
    const QImage& image() const { return image_; }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QSize size() const { return image_.size(); }

    void assign(const QImage& image);
    void assign(const ButtonPicture& other) { assign(other.image_); }
    void clear() { assign(QImage()); }
    // Loads a picture file in place (see loadPicture); on failure it throws and keeps its contents.
    void loadFromFile(const std::string& path);

  private:
    QImage image_;
    std::function<void()> changed_;
};

enum ButtonPaintMode { pmNormal, pmCrop, pmTransparent };

// The mouse message handed to the button's mouse events: message code, key-state flags,
// position in the button's coordinates, result.
struct MouseMessage {
    std::uint32_t Msg = 0;
    std::uint32_t Keys = 0;
    int XPos = 0;
    int YPos = 0;
    std::intptr_t Result = 0;
};

// Message codes and key flags carried by MouseMessage.
inline constexpr std::uint32_t kMsgLButtonDown = 0x0201;
inline constexpr std::uint32_t kMsgLButtonUp = 0x0202;
inline constexpr std::uint32_t kMsgLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kMsgMouseEnter = 0xB013;
inline constexpr std::uint32_t kMsgMouseLeave = 0xB014;
inline constexpr std::uint32_t kKeyLButton = 0x0001;
inline constexpr std::uint32_t kKeyRButton = 0x0002;
inline constexpr std::uint32_t kKeyShift = 0x0004;
inline constexpr std::uint32_t kKeyControl = 0x0008;
inline constexpr std::uint32_t kKeyMButton = 0x0010;

using MouseHandler = std::function<void(MouseMessage& Msg)>;

// A push button drawn entirely from pictures: rest (PicIdle), pointer over (PicUp), pressed
// (PicDown) and disabled (PicDsbld). In pmCrop its shape is the rest picture less every pixel
// of that picture's top-left colour: there it neither paints nor takes the pointer. Its
// objectName is its owner's control name: the main window's h142 to h147.
class RegionButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool AutoRepeat READ AutoRepeat WRITE setAutoRepeat)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(bool Disabled READ Disabled)
    Q_PROPERTY(int PaintMode READ paintModeValue WRITE setPaintModeValue)
  public:
    explicit RegionButton(QWidget* parent = nullptr);
    ~RegionButton() override;

    static constexpr int kRepeatInterval = 300;

    bool AutoRepeat() const { return autoRepeat_; }
    void setAutoRepeat(bool value);

    // The button's own enabled state. It hides QWidget's: the widget itself stays enabled, so the
    // mouse events keep coming; the flag only picks PicDsbld and suppresses the click.
    bool Enabled() const { return enabled_; }
    void setEnabled(bool value);
    bool Disabled() const { return !enabled_; }

    // In-place access: assign or loadFromFile repaints but leaves the shape as it is.
    ButtonPicture& PicIdle() { return picIdle_; }
    ButtonPicture& PicDown() { return picDown_; }
    ButtonPicture& PicUp() { return picUp_; }
    ButtonPicture& PicDsbld() { return picDsbld_; }
    const ButtonPicture& PicIdle() const { return picIdle_; }
    const ButtonPicture& PicDown() const { return picDown_; }
    const ButtonPicture& PicUp() const { return picUp_; }
    const ButtonPicture& PicDsbld() const { return picDsbld_; }

    // Property writes: copy the picture. A new rest picture also rebuilds a shape in force.
    void setPicIdle(const QImage& picture);
    void setPicIdle(const ButtonPicture& picture) { setPicIdle(picture.image()); }
    void setPicDown(const QImage& picture) { picDown_.assign(picture); }
    void setPicUp(const QImage& picture) { picUp_.assign(picture); }
    void setPicDsbld(const QImage& picture) { picDsbld_.assign(picture); }

    ButtonPaintMode PaintMode() const { return paintMode_; }
    void setPaintMode(ButtonPaintMode mode);

    // Not owned. Setting a list copies its first four images into PicIdle, PicUp, PicDown and
    // PicDsbld; later changes to the list are not followed.
    PictureList* ImageList() const { return imageList_; }
    void setImageList(PictureList* list);

    // The shape in force: set while cropped (possibly empty), otherwise none.
    bool regionApplied() const { return regionApplied_; }
    QRegion shape() const { return shape_; }
    // How many times a shape has been built from the rest picture.
    int shapeBuilds() const { return shapeBuilds_; }
    bool hover() const { return hover_; }
    bool pressed() const { return pressed_; }
    bool repeating() const { return repeatTimer_.isActive(); }
    // The picture the state chooses; null when there is none to paint.
    const QImage& currentPicture() const;

    std::function<void()> OnClick;
    MouseHandler OnMouseDown;
    MouseHandler OnMouseUp;
    MouseHandler OnMouseEnter;
    MouseHandler OnMouseLeave;
    // The standard pointer-move event: key flags as in MouseMessage, position in the button.
    std::function<void(std::uint32_t keys, int x, int y)> OnMouseMove;

    // Runs OnClick while Enabled; otherwise nothing.
    virtual void Click();

  protected:
    void paintEvent(QPaintEvent* event) override;
    virtual void repeatTimerTick();
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    class PaintLock;

    void pictureChanged();
    void refresh();
    void crop();
    void uncrop();
    void applyMask();
    void updateRepeatTimer();
    void pointerEntered();
    void pointerLeft();
    bool isOverShape(QPoint at) const;
    void fire(const MouseHandler& handler, MouseMessage message);
    int paintModeValue() const { return paintMode_; }
    void setPaintModeValue(int value) { setPaintMode(static_cast<ButtonPaintMode>(value)); }

    bool locked_ = false;
    bool regionApplied_ = false;
    QTimer repeatTimer_;
    bool autoRepeat_ = false;
    ButtonPaintMode paintMode_ = pmNormal;
    bool pressed_ = false;
    bool clickMarked_ = false;
    bool hover_ = false;
    bool enabled_ = true;
    ButtonPicture picIdle_;
    ButtonPicture picDown_;
    ButtonPicture picDsbld_;
    ButtonPicture picUp_;
    QPointer<PictureList> imageList_;
    QRegion shape_;
    int shapeBuilds_ = 0;
};

} // namespace arcavio
