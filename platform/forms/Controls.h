#pragma once
// Controls of the old forms runtime, each a thin wrapper over a Qt widget.
// A control is a member of its form class, built with its container (the form,
// a PictureBox or a Frame) and its name; the constructor of the form then sets
// the design values:
//
//   vb::PictureBox Picture1{*this, "Picture1"};
//   vb::Label Label1{Picture1, "Label1"};         // inside Picture1
//   vb::ControlArray<vb::Shape> coinrect{*this, "coinrect"};  // element 0
//
// A control's name is never shown: a caption the code does not set is empty
// (a command button with a picture and no caption shows the picture alone).
// Geometry (Left, Top, Width, Height) is in the container's scale, twips by
// default; a value read back is the value written as long as the widget still
// has the pixel size it gave. Events are the EventSinks members (Forms.h).
// Windowless controls (Label, Image, Shape, Line) always paint below the
// windowed ones of the same container; Shape and Line take no mouse input.
#include "platform/forms/Forms.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QTimer;
class QLabel;
class QListWidget;

namespace vb {

// ---------------------------------------------------------------- base classes

// What a control array holds: controls, timers, menus.
class ArrayElement {
 public:
  explicit ArrayElement(const QString& name) : name_(name) {}
  virtual ~ArrayElement() = default;
  ArrayElement(const ArrayElement&) = delete;
  ArrayElement& operator=(const ArrayElement&) = delete;
  QString Name() const { return name_; }
  // The index in its control array, -1 outside any array.
  int Index() const { return index_; }

  // Layer internals: a new element of the same kind and container, with this
  // element's properties (Visible False), placed after `after` (menus).
  virtual std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const = 0;
  void setIndex_(int index) { index_ = index; }

 private:
  QString name_;
  int index_ = -1;
};

class Control : public ArrayElement, public EventSinks {
 public:
  ~Control() override;

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  virtual void setLeft(int value);
  virtual void setTop(int value);
  virtual void setWidth(int value);
  virtual void setHeight(int value);
  void Move(int left, std::optional<int> top = {}, std::optional<int> width = {},
            std::optional<int> height = {});

  bool Visible() const { return visible_; }
  virtual void setVisible(bool visible);
  bool Enabled() const;
  virtual void setEnabled(bool enabled);
  QString ToolTipText() const;
  void setToolTipText(const QString& text);
  QString Tag() const { return tag_; }
  void setTag(const QString& tag) { tag_ = tag; }
  Color BackColor() const { return backColor_; }
  virtual void setBackColor(Color color);
  Color ForeColor() const { return foreColor_; }
  virtual void setForeColor(Color color);
  QString FontName() const;
  double FontSize() const;
  bool FontBold() const;
  bool FontItalic() const;
  bool FontUnderline() const;
  void setFontName(const QString& name);
  void setFontSize(double points);
  void setFontBold(bool on);
  void setFontItalic(bool on);
  void setFontUnderline(bool on);
  QFont Font() const;
  virtual void setFont(const QFont& font);
  int MousePointer() const { return mousePointer_; }
  void setMousePointer(int pointer);
  QCursor MouseIcon() const { return mouseIcon_; }
  void setMouseIcon(const QCursor& icon);
  void setMouseIcon(const QImage& image, QPoint hotspot = QPoint(-1, -1));
  bool TabStop() const { return tabStop_; }
  void setTabStop(bool on);

  // 0 brings the control to the front of its layer, 1 sends it to the back.
  void ZOrder(int position = 0);
  void SetFocus();
  virtual void Refresh();

  Container& container() const { return container_; }
  Form& form() const { return container_.parentForm(); }
  QWidget* widget() const { return widget_; }
  bool windowless() const { return windowless_; }
  // The scale of this control's mouse coordinates (its own for containers,
  // else its container's).
  virtual int eventScaleMode() const { return container_.containerScaleMode(); }

 protected:
  Control(Container& container, const QString& name, QWidget* widget, bool windowless);
  // Copies the shared properties of another control of the same kind.
  void copyCommon(const Control& other);
  void applyGeometry();
  // Routes a further widget's input (a client area) to this control.
  void watch(QWidget* widget);
  void setGeom(int which, double value);
  void syncCursor();
  void applyPalette();
  virtual void onGeometryChanged() {}
  // The widget whose top-left is X = 0, Y = 0 of the mouse events.
  virtual QWidget* coordWidget() const { return widget_; }
  virtual QWidget* focusTarget() const { return widget_; }
  // Click raised by the layer on a release inside (else by the Qt widget).
  virtual bool clickOnRelease() const { return windowless_; }
  // Mouse events stop here instead of reaching the Qt widget.
  virtual bool consumesMouse() const { return windowless_; }
  // Enter is the control's own key (buttons, multi-line text).
  virtual bool acceptsEnter() const { return false; }

  Container& container_;
  QPointer<QWidget> widget_;
  bool windowless_;
  bool visible_ = true;
  Color backColor_ = Color(0x8000000F);
  Color foreColor_ = Color(0x80000012);
  QString tag_;
  int mousePointer_ = vbDefault;
  QCursor mouseIcon_;
  bool tabStop_ = true;
  // Geometry as last written, in the container's scale, and the pixels it gave.
  double geom_[4] = {0, 0, 0, 0};
  QRect pixelGeom_;
  bool syncing_ = false;

 public:
  // Layer internals: the widget was resized or moved by Qt.
  void widgetGeometryChanged_();
  bool dispatchEvent_(QObject* watched, QEvent* event);

 private:
  class Filter;
  Filter* filter_ = nullptr;
  std::unique_ptr<detail::MouseState> mouse_;
};

// ---------------------------------------------------------------- PictureBox

// A picture box: its Picture (the picture set), its persistent Image (what is
// shown: BackColor, the Picture at 0,0, and everything drawn since, as with
// AutoRedraw True), and the drawing operations in its own scale. Other code may
// draw on canvas() with a QPainter and call Refresh().
class PictureBox : public Control, public Container {
 public:
  PictureBox(Container& parent, const QString& name);

  QImage Picture() const { return picture_; }
  void setPicture(const QImage& picture);  // a null QImage removes it
  const QImage& Image() const { return canvas_; }
  QImage& canvas() { return canvas_; }
  bool AutoRedraw() const { return autoRedraw_; }
  void setAutoRedraw(bool on) { autoRedraw_ = on; }
  // AutoSize: the box takes the size of its picture (plus its border).
  bool AutoSize() const { return autoSize_; }
  void setAutoSize(bool on);
  // 0 none, 1 fixed single: a 2-pixel sunken border (Appearance 1, the
  // default) or a 1-pixel flat one (Appearance 0). Changing it keeps the outer
  // size; the client area (ScaleWidth/ScaleHeight) grows or shrinks.
  int BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int style);
  int Appearance() const { return appearance_; }
  void setAppearance(int appearance);
  int ScaleMode() const { return scaleMode_; }
  void setScaleMode(int mode);
  // The client area (inside the border) in the box's own scale.
  double ScaleWidth() const;
  double ScaleHeight() const;
  void setBackColor(Color color) override;

  // Drawing, in the box's scale. Cls clears to BackColor and the Picture and
  // puts CurrentX/CurrentY at 0.
  void Cls();
  void PSet(double x, double y, std::optional<Color> color = {});
  // Line (x1,y1)-(x2,y2), color[, B | BF]: box 0 a line, 1 a box outline, 2 a
  // filled box.
  void Line(double x1, double y1, double x2, double y2, std::optional<Color> color = {},
            int box = 0);
  // Print: the text at CurrentX/CurrentY in ForeColor and the font; CurrentY
  // moves to the next line and CurrentX back to 0.
  void Print(const QString& text);
  // PaintPicture picture, x1, y1[, w1, h1[, x2, y2, w2, h2]]: destination and
  // source rectangles both in the box's scale; a missing size is the whole
  // (source) picture; a negative size mirrors. Stretching is smooth.
  void PaintPicture(const QImage& picture, double x1, double y1, std::optional<double> width1 = {},
                    std::optional<double> height1 = {}, std::optional<double> x2 = {},
                    std::optional<double> y2 = {}, std::optional<double> width2 = {},
                    std::optional<double> height2 = {});
  Color Point(double x, double y) const;  // -1 outside
  double TextWidth(const QString& text) const;
  double TextHeight(const QString& text) const;
  double CurrentX() const { return currentX_; }
  double CurrentY() const { return currentY_; }
  void setCurrentX(double x) { currentX_ = x; }
  void setCurrentY(double y) { currentY_ = y; }
  int DrawWidth() const { return drawWidth_; }
  void setDrawWidth(int pixels) { drawWidth_ = pixels; }
  Color FillColor() const { return fillColor_; }
  void setFillColor(Color color) { fillColor_ = color; }
  int FillStyle() const { return fillStyle_; }
  void setFillStyle(int style) { fillStyle_ = style; }
  bool FontTransparent() const { return fontTransparent_; }
  void setFontTransparent(bool on) { fontTransparent_ = on; }
  void Refresh() override;

  QWidget* containerWidget() const override { return widget(); }
  Form& parentForm() override { return form(); }
  int containerScaleMode() const override { return scaleMode_; }
  int eventScaleMode() const override { return scaleMode_; }
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;

  // Layer internals.
  int border_() const;

 protected:
  void onGeometryChanged() override;
  QWidget* coordWidget() const override { return client_; }
  QWidget* focusTarget() const override { return client_; }
  bool clickOnRelease() const override { return true; }
  bool consumesMouse() const override { return true; }

 private:
  void recompose();
  void fitCanvas();
  QPointF toPx(double x, double y) const;
  double toPxLen(double v) const;
  QWidget* client_ = nullptr;
  QImage picture_;
  QImage canvas_;
  bool autoRedraw_ = false;
  bool autoSize_ = false;
  int borderStyle_ = 1;
  int appearance_ = 1;
  int scaleMode_ = vbTwips;
  double currentX_ = 0, currentY_ = 0;
  int drawWidth_ = 1;
  Color fillColor_ = 0;
  int fillStyle_ = 1;  // 1 transparent, 0 solid
  bool fontTransparent_ = true;
};

// ---------------------------------------------------------------- windowless

class Image : public Control {
 public:
  Image(Container& parent, const QString& name);
  QImage Picture() const { return picture_; }
  void setPicture(const QImage& picture);  // without Stretch the control takes its size
  bool Stretch() const { return stretch_; }
  void setStretch(bool on);
  int BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int style);
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;
  void paint_(QPainter& painter);

 private:
  QImage picture_;
  bool stretch_ = false;
  int borderStyle_ = 0;
};

// A label: always plain text. "&x" shows x (the mnemonic), "&&" shows "&"
// while UseMnemonic is on (the default).
class Label : public Control {
 public:
  Label(Container& parent, const QString& name);
  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);
  bool AutoSize() const { return autoSize_; }
  void setAutoSize(bool on);
  bool WordWrap() const { return wordWrap_; }
  void setWordWrap(bool on);
  int Alignment() const { return alignment_; }  // 0 left, 1 right, 2 centre
  void setAlignment(int alignment);
  int BackStyle() const { return backStyle_; }  // 0 transparent, 1 opaque
  void setBackStyle(int style);
  int BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int style);
  bool UseMnemonic() const { return useMnemonic_; }
  void setUseMnemonic(bool on);
  void setBackColor(Color color) override;
  void setForeColor(Color color) override;
  void setFont(const QFont& font) override;
  // The text as shown (mnemonics resolved).
  QString displayText() const;
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;

 private:
  void update();
  QString caption_;
  bool autoSize_ = false;
  bool wordWrap_ = false;
  int alignment_ = 0;
  int backStyle_ = 1;
  int borderStyle_ = 0;
  bool useMnemonic_ = true;
};

// A shape. A negative Width or Height is refused with Error 380.
class Shape : public Control {
 public:
  enum Kind { Rectangle = 0, Square = 1, Oval = 2, Circle = 3, RoundedRectangle = 4, RoundedSquare = 5 };
  Shape(Container& parent, const QString& name);
  int ShapeKind() const { return kind_; }
  void setShape(int kind);
  int BackStyle() const { return backStyle_; }  // 0 transparent (default), 1 opaque
  void setBackStyle(int style);
  Color BorderColor() const { return borderColor_; }
  void setBorderColor(Color color);
  int BorderStyle() const { return borderStyle_; }  // 0 transparent, 1 solid, 2 dash, 3 dot, ...
  void setBorderStyle(int style);
  int BorderWidth() const { return borderWidth_; }  // pixels
  void setBorderWidth(int pixels);
  Color FillColor() const { return fillColor_; }
  void setFillColor(Color color);
  int FillStyle() const { return fillStyle_; }  // 0 solid, 1 transparent (default)
  void setFillStyle(int style);
  void setWidth(int value) override;
  void setHeight(int value) override;
  void setBackColor(Color color) override;
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;
  void paint_(QPainter& painter);

 private:
  int kind_ = Rectangle;
  int backStyle_ = 0;
  Color borderColor_ = Color(0x80000012);
  int borderStyle_ = 1;
  int borderWidth_ = 1;
  Color fillColor_ = 0;
  int fillStyle_ = 1;
};

class Line : public Control {
 public:
  Line(Container& parent, const QString& name);
  int X1() const { return x1_; }
  int Y1() const { return y1_; }
  int X2() const { return x2_; }
  int Y2() const { return y2_; }
  void setX1(int v);
  void setY1(int v);
  void setX2(int v);
  void setY2(int v);
  Color BorderColor() const { return borderColor_; }
  void setBorderColor(Color color);
  int BorderWidth() const { return borderWidth_; }
  void setBorderWidth(int pixels);
  int BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int style);
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;
  void paint_(QPainter& painter);

 private:
  void place();
  int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  Color borderColor_ = Color(0x80000012);
  int borderWidth_ = 1;
  int borderStyle_ = 1;
};

// ---------------------------------------------------------------- windowed

class Frame : public Control, public Container {
 public:
  Frame(Container& parent, const QString& name);
  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);
  int BorderStyle() const { return borderStyle_; }  // 0 none, 1 fixed single
  void setBorderStyle(int style);
  void setBackColor(Color color) override;
  QWidget* containerWidget() const override { return widget(); }
  Form& parentForm() override { return form(); }
  int containerScaleMode() const override { return container_.containerScaleMode(); }
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;

 protected:
  bool clickOnRelease() const override { return true; }
  bool consumesMouse() const override { return true; }

 private:
  void keepStillOnResize();
  QString caption_;
  int borderStyle_ = 1;
};

class CommandButton : public Control {
 public:
  CommandButton(Container& parent, const QString& name);
  ~CommandButton() override;
  QString Caption() const;
  void setCaption(const QString& caption);  // "&" marks the access key
  // Default: Enter anywhere on the form (outside another button) presses it;
  // Cancel: Escape presses it.
  bool Default() const { return default_; }
  void setDefault(bool on);
  bool Cancel() const { return cancel_; }
  void setCancel(bool on);
  QImage Picture() const { return picture_; }
  void setPicture(const QImage& picture);
  int Style() const { return style_; }  // 0 standard, 1 graphical (shows Picture)
  void setStyle(int style);
  // Value = True presses the button in code (runs Click).
  void setValue(bool pressed);
  void setBackColor(Color color) override;
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;
  void click_();

 protected:
  bool acceptsEnter() const override { return true; }

 private:
  bool default_ = false;
  bool cancel_ = false;
  QImage picture_;
  int style_ = 0;
};

// A check box: Value 0 unchecked, 1 checked, 2 grayed. Any change of Value,
// by code or by the user, raises Click; the user's clicks go 0 -> 1 -> 0 and
// from 2 to 1, never to 2.
class CheckBox : public Control {
 public:
  CheckBox(Container& parent, const QString& name);
  QString Caption() const;
  void setCaption(const QString& caption);
  int Value() const { return value_; }
  void setValue(int value);  // outside 0..2: Error 380
  void setBackColor(Color color) override;
  void setForeColor(Color color) override;
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;
  void userToggle_();

 private:
  void show();
  int value_ = 0;
};

// An option button: the buttons of one container exclude each other; Click
// runs when a button becomes selected, by code or by the user.
class OptionButton : public Control {
 public:
  OptionButton(Container& parent, const QString& name);
  QString Caption() const;
  void setCaption(const QString& caption);
  bool Value() const { return value_; }
  void setValue(bool value);
  void setBackColor(Color color) override;
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;
  void userSelect_();

 private:
  bool value_ = false;
};

// A text box. MaxLength (0 = no limit) limits what the user types; a Text set
// by code is kept whole. Change runs on every change of the text, by code or
// by the user. SelStart is 0-based like the old property; a Text set by code
// puts the caret, and the view, at its start.
class TextBox : public Control {
 public:
  // multiLine is a design-time choice, as in the old runtime.
  TextBox(Container& parent, const QString& name, bool multiLine = false);
  QString Text() const;
  void setText(const QString& text);
  int MaxLength() const { return maxLength_; }
  void setMaxLength(int length);
  int SelStart() const;
  void setSelStart(int start);
  int SelLength() const;
  void setSelLength(int length);
  QString SelText() const;
  void setSelText(const QString& text);
  bool Locked() const { return locked_; }
  void setLocked(bool on);
  bool MultiLine() const { return multiLine_; }
  QString PasswordChar() const { return passwordChar_; }
  void setPasswordChar(const QString& c);
  int Alignment() const { return alignment_; }
  void setAlignment(int alignment);
  int BorderStyle() const { return borderStyle_; }
  void setBorderStyle(int style);
  void setBackColor(Color color) override;
  void setForeColor(Color color) override;
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;
  // Layer internals: would a user edit giving this text be allowed.
  bool userEditAllowed_(const QString& newText) const;

 protected:
  bool acceptsEnter() const override { return multiLine_; }

 private:
  void changed_();
  QString byCode_;      // the text before the edit under way (MaxLength)
  bool settingText_ = false;
  bool changedWhileSetting_ = false;
  bool multiLine_;
  int maxLength_ = 0;
  bool locked_ = false;
  QString passwordChar_;
  int alignment_ = 0;
  int borderStyle_ = 1;
};

// A list box; indexes are 0-based, ListIndex -1 is no selection. MultiSelect
// 0 none, 1 simple (a click toggles), 2 extended (Shift and Ctrl). Click runs
// when ListIndex changes, by code or by the user.
class ListBox : public Control {
 public:
  ListBox(Container& parent, const QString& name);
  void AddItem(const QString& item, int index = -1);
  void RemoveItem(int index);  // out of range: Error 5
  void Clear();
  int ListCount() const;
  QString List(int index) const;  // out of range gives ""
  void setList(int index, const QString& item);
  int ListIndex() const;
  void setListIndex(int index);  // -1 clears; out of range: Error 380
  QString Text() const;          // the selected item's text
  bool Selected(int index) const;
  void setSelected(int index, bool on);
  int SelCount() const;
  int MultiSelect() const { return multiSelect_; }
  void setMultiSelect(int mode);
  int ItemData(int index) const;
  void setItemData(int index, int value);
  int TopIndex() const;
  void setTopIndex(int index);
  bool Sorted() const { return sorted_; }
  void setSorted(bool on);
  void setBackColor(Color color) override;
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;

 protected:
  QListWidget* list() const;
  bool quiet_ = false;

 private:
  int multiSelect_ = 0;
  bool sorted_ = false;
  int lastIndex_ = -1;
};

// The files of a folder that match Pattern ("*.gif;*.bmp", case-insensitive),
// sorted by name. Setting Path or Pattern re-reads the folder; Refresh too.
// A missing folder throws Error 76 on Path.
class FileListBox : public ListBox {
 public:
  FileListBox(Container& parent, const QString& name);
  QString Path() const { return path_; }
  void setPath(const QString& path);
  QString Pattern() const { return pattern_; }
  void setPattern(const QString& pattern);
  QString FileName() const;  // the selected file's name, "" when none
  void setFileName(const QString& name);  // selects it when listed
  void Refresh() override;
  std::function<void()> onPathChange;
  std::function<void()> onPatternChange;
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;

 private:
  QString path_;
  QString pattern_ = "*.*";
};

// A slider (common controls). Change runs when the value has changed (by code
// or at the end of a move by the user); Scroll while the thumb is dragged.
class Slider : public Control {
 public:
  Slider(Container& parent, const QString& name);
  int Min() const;
  int Max() const;
  int Value() const;
  void setMin(int value);
  void setMax(int value);
  void setValue(int value);  // outside Min..Max: Error 380
  int SmallChange() const;
  int LargeChange() const;
  void setSmallChange(int value);
  void setLargeChange(int value);
  int TickFrequency() const { return tickFrequency_; }
  void setTickFrequency(int value);
  int Orientation() const { return orientation_; }  // 0 horizontal, 1 vertical
  void setOrientation(int orientation);
  std::function<void()> onScroll;
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;

 private:
  int tickFrequency_ = 1;
  int orientation_ = 0;
};

// One panel of a status bar (1-based Index).
class Panel {
 public:
  int Index() const { return index_; }
  QString Key() const { return key_; }
  void setKey(const QString& key) { key_ = key; }
  QString Text() const { return text_; }
  void setText(const QString& text);
  QString ToolTipText() const { return toolTip_; }
  void setToolTipText(const QString& text);
  QImage Picture() const { return picture_; }
  void setPicture(const QImage& picture);
  int Width() const { return width_; }  // twips
  void setWidth(int twips);
  int MinWidth() const { return minWidth_; }
  void setMinWidth(int twips);
  int AutoSize() const { return autoSize_; }  // 0 none, 1 spring, 2 contents
  void setAutoSize(int mode);
  int Alignment() const { return alignment_; }  // 0 left, 1 centre, 2 right
  void setAlignment(int alignment);
  bool Visible() const { return visible_; }
  void setVisible(bool on);
  bool Enabled() const { return enabled_; }
  void setEnabled(bool on);
  QWidget* widget() const;

 private:
  friend class StatusBar;
  void update();
  int index_ = 0;
  QString key_, text_, toolTip_;
  QImage picture_;
  int width_ = 1440, minWidth_ = 1440, autoSize_ = 0, alignment_ = 0;
  bool visible_ = true, enabled_ = true;
  QLabel* label_ = nullptr;
};

class StatusBar : public Control {
 public:
  StatusBar(Container& parent, const QString& name);
  ~StatusBar() override;
  int PanelCount() const { return int(panels_.size()); }
  // Index 1..PanelCount or a Key; a missing one throws Error 35600 ("Index
  // out of bounds") like the common controls.
  Panel& Panels(int index);
  Panel& Panels(const QString& key);
  // Adds a panel at index (-1 = at the end).
  Panel& AddPanel(const QString& key = QString(), const QString& text = QString(), int index = -1);
  void RemovePanel(int index);
  int Style() const { return style_; }  // 0 panels, 1 simple text
  void setStyle(int style);
  QString SimpleText() const { return simpleText_; }
  void setSimpleText(const QString& text);
  std::function<void(Panel&)> onPanelClick;
  std::function<void(Panel&)> onPanelDblClick;
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;
  // Layer internals.
  void panelMouse_(QWidget* label, bool dbl);

 private:
  void relayout();
  std::vector<std::unique_ptr<Panel>> panels_;
  int style_ = 0;
  QString simpleText_;
  QLabel* simpleLabel_ = nullptr;
};

// ---------------------------------------------------------------- non-visual

// An image list: pictures by 1-based Index or by Key. A missing one throws
// Error 35600; a duplicate key Error 35602 ("Key is not unique").
class ImageList {
 public:
  ImageList(Container& parent, const QString& name);
  struct ListImage {
    int Index = 0;
    QString Key;
    QImage Picture;
    QString Tag;
  };
  int Count() const { return int(images_.size()); }
  ListImage& ListImages(int index);
  ListImage& ListImages(const QString& key);
  // Adds at index (-1 = at the end); the following ones move up.
  ListImage& Add(const QImage& picture, const QString& key = QString(), int index = -1);
  void Remove(int index);
  void Remove(const QString& key);
  void Clear();
  int ImageWidth() const { return imageWidth_; }   // pixels; 0 = the first picture's
  int ImageHeight() const { return imageHeight_; }
  void setImageWidth(int pixels) { imageWidth_ = pixels; }
  void setImageHeight(int pixels) { imageHeight_ = pixels; }
  QString Name() const { return name_; }

 private:
  void renumber();
  QString name_;
  std::vector<std::unique_ptr<ListImage>> images_;
  int imageWidth_ = 0, imageHeight_ = 0;
};

// A timer: Interval in milliseconds, 0..65535 (others: Error 380); Interval 0
// never fires. Setting Enabled True on a running timer keeps its count;
// setting Interval (to a different value) restarts the count. Ticks run in
// any event loop: DoEvents, Wait, message boxes, modal forms. While onTimer
// runs (say inside a Wait), the same timer does not tick again: its ticks
// are dropped, never queued; other timers go on. Timers stop when their form
// unloads. Under the stepped clock (Runtime.h) they count on that clock.
class Timer : public ArrayElement {
 public:
  // The interval and Enabled at design (a design Interval over 65535: Error 380).
  Timer(Container& parent, const QString& name, int interval = 0, bool enabled = true);
  ~Timer() override;
  int Interval() const { return interval_; }
  void setInterval(int milliseconds);
  bool Enabled() const { return enabled_; }
  void setEnabled(bool on);
  QString Tag() const { return tag_; }
  void setTag(const QString& tag) { tag_ = tag; }
  std::function<void()> onTimer;
  // Milliseconds to the next tick, -1 when it does not run (for tests).
  int remainingMs() const;
  bool running() const;
  // Runs one tick now, as when the interval elapses (for tests).
  void tick();
  std::unique_ptr<ArrayElement> cloneForArray_(ArrayElement* after) const override;
  void stop_();  // the form unloads
  // The stepped clock's time of the next tick, -1 when the timer does not run
  // on it; steppedTick_ counts the next interval from there and ticks.
  qint64 steppedDue_() const { return due_; }
  void steppedTick_();
  void clockChanged_();  // real and stepped time swapped: a fresh count

 private:
  void update();
  Container& container_;
  Form* form_;
  std::unique_ptr<QTimer> timer_;
  qint64 due_ = -1;
  int interval_ = 0;
  bool enabled_ = true;
  bool inHandler_ = false;
  bool stopped_ = false;
  QString tag_;
};

// ---------------------------------------------------------------- control arrays

// A control array. Elements built at design time are made by the constructor
// (count elements from first, normally element 0 alone, the template) or by
// add(); Load(i) makes element i at run time as a copy of the template (the
// lowest design element, normally 0) with Visible False; Unload(i) removes an
// element made by Load (a design element: Error 362). A missing index throws
// Error 340; a Load of an existing one Error 360. Events: on(member, handler)
// routes that event of every element, present and future, to one handler that
// receives the Index first:
//
//   coinrect.on(&vb::Shape::onMouseDown, [this](int Index, int Button, int Shift, float X, float Y) {...});
template <class T>
class ControlArray {
 public:
  template <class P>
  ControlArray(P& parent, const QString& name, int count = 1, int first = 0)
      : name_(name), make_([&parent, name] { return std::make_unique<T>(parent, name); }) {
    for (int i = first; i < first + count; ++i) add(i);
  }

  // A design-time element (visible, default properties).
  T& add(int index) {
    if (items_.count(index)) throw Error(vbErrAlreadyLoaded);
    auto item = make_();
    item->setIndex_(index);
    design_.push_back(index);
    return install(index, std::move(item));
  }
  T& Load(int index) {
    if (items_.count(index)) throw Error(vbErrAlreadyLoaded);
    if (index < 0 || items_.empty()) throw Error(vbErrInvalidCall);
    T& tmpl = *items_.begin()->second;
    ArrayElement* after = &tmpl;
    for (auto& [i, item] : items_)
      if (i < index) after = item.get();
    std::unique_ptr<ArrayElement> made = tmpl.cloneForArray_(after);
    std::unique_ptr<T> item(static_cast<T*>(made.release()));
    item->setIndex_(index);
    return install(index, std::move(item));
  }
  void Unload(int index) {
    auto it = items_.find(index);
    if (it == items_.end()) throw Error(vbErrNoSuchElement);
    for (int d : design_)
      if (d == index) throw Error(vbErrDesignElement);
    items_.erase(it);
  }
  T& operator[](int index) const {
    auto it = items_.find(index);
    if (it == items_.end()) throw Error(vbErrNoSuchElement);
    return *it->second;
  }
  T& operator()(int index) const { return (*this)[index]; }
  bool exists(int index) const { return items_.count(index) != 0; }
  int Count() const { return int(items_.size()); }
  int LBound() const { return items_.empty() ? 0 : items_.begin()->first; }
  int UBound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
  std::vector<int> indexes() const {
    std::vector<int> out;
    for (auto& [i, item] : items_) out.push_back(i);
    return out;
  }
  QString Name() const { return name_; }

  template <class C, class... A, class F>
  void on(std::function<void(A...)> C::*event, F handler) {
    auto bind = [event, handler](T& item, int index) {
      item.*event = [handler, index](A... args) { handler(index, args...); };
    };
    binders_.push_back(bind);
    for (auto& [i, item] : items_) bind(*item, i);
  }

 private:
  T& install(int index, std::unique_ptr<T> item) {
    for (auto& bind : binders_) bind(*item, index);
    T& ref = *item;
    items_[index] = std::move(item);
    return ref;
  }
  QString name_;
  std::function<std::unique_ptr<T>()> make_;
  std::map<int, std::unique_ptr<T>> items_;
  std::vector<int> design_;
  std::vector<std::function<void(T&, int)>> binders_;
};

}  // namespace vb
