// The value prompt drawn inside the editor: a drop-down list for a parameter
// with display texts, or a small text field holding the current display text,
// all of it selected. At most one is open at a time. Window thread only.
#pragma once

#include <string>
#include <vector>

#include "ferro/graphics/graphics_types.h"
#include "platform/window/window.h"

class IValuePrompt {
 public:
  enum class Result { kNone, kCommit, kCancel };

  // A list under the control's vertical centre, centred on it.
  void OpenList(const IRect& control, const std::vector<std::string>& texts, int selected);
  // A 36 x 16 field centred on the control, holding `text` (all selected).
  void OpenField(const IRect& control, const std::string& text);
  void Close() { open_ = false; }

  bool IsOpen() const { return open_; }
  bool IsList() const { return list_; }
  // The text a commit hands over: the chosen entry or the field's text.
  const std::string& Text() const;
  int Selected() const { return selected_; }
  // The area the prompt covers (its list included).
  const IRect& Area() const { return area_; }

  // A mouse press inside the editor: a left click on a list entry chooses it,
  // any other left click commits what is shown, a right click cancels.
  Result OnMouseDown(int x, int y, platform::MouseButton button);
  // Enter commits, Escape cancels; the field edits its text, the list moves
  // its selection with the arrow keys.
  Result OnKey(const platform::Event& event);

  void Draw(platform::PixelView dst, int originX, int originY) const;

  static constexpr int kFieldWidth = 36;
  static constexpr int kFieldHeight = 16;
  static constexpr int kRowHeight = 16;
  static constexpr int kFontHeight = 14;

 private:
  IRect RowRect(int i) const;

  bool open_ = false;
  bool list_ = false;
  bool allSelected_ = false;
  IRect area_;
  IRect box_;
  std::vector<std::string> texts_;
  int selected_ = 0;
  std::string field_;
};
