#pragma once

#include <cstdint>
#include <string>

#include "config/screen/config_rows.h"
#include "render/screen.h"

// What the configuration screen does with the keyboard, apart from drawing: browsing the
// tab bar and the rows, editing a row, and saving or cancelling. Every change goes into
// the settings at once; save writes zrv.cfg, cancel reads it back over the changes.
class ConfigEditor {
  public:
    static constexpr std::size_t kEntrySize = 50;  // typed text and its NUL
    static constexpr const char* kInvalidKey = "INVALID KEY";

    // Tabs 0 controls, 1 game, 2 save, 3 cancel; no row selected, nothing open.
    void reset();
    // One key press (GameKey codes: the arrows are the same codes as the letters d, e, f
    // and g).
    void key(unsigned char key);

    std::int32_t page() const { return page_; }
    // The selected row, counted from 1; 0 while the focus is on the tab bar.
    std::int32_t item() const { return item_; }
    bool editing() const { return editing_; }
    bool isDone() const { return done_; }
    const std::string& entry() const { return entry_; }

    // Text in the value column of `row` (counted from 1): the typed text and a cursor
    // for the row being edited, else the setting's value.
    std::string valueText(std::int32_t row) const;

  private:
    void browse(unsigned char key);
    void edit(unsigned char key);
    void editKey(const ConfigRow& row, unsigned char key);
    void editNumber(const ConfigRow& row, unsigned char key);
    void editName(unsigned char key);
    void editAddress(unsigned char key);
    void close();

    std::int32_t page_ = ConfigPage::Controls;
    std::int32_t item_ = 0;
    bool editing_ = false;
    bool done_ = false;
    std::string entry_;  // at most kEntrySize - 1 characters
};
