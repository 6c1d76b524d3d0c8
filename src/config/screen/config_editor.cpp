#include "config/screen/config_editor.h"

#include <algorithm>

#include "config/settings.h"

namespace {

constexpr std::size_t kMaxNameLength = 8;
constexpr std::size_t kMaxAddressLength = 15;
constexpr std::size_t kMaxGroupDigits = 3;
constexpr std::size_t kAddressDots = 3;

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool isBindable(unsigned char c) {
    return (c >= 'a' && c <= 'z') || isDigit(c);
}

}  // namespace

void ConfigEditor::reset() {
    page_ = ConfigPage::Controls;
    item_ = 0;
    editing_ = false;
    done_ = false;
    entry_.clear();
}

void ConfigEditor::key(unsigned char key) {
    if (editing_)
        edit(key);
    else
        browse(key);
}

void ConfigEditor::browse(unsigned char key) {
    const auto rowCount = static_cast<std::int32_t>(configRows(page_).size());
    switch (key) {
        case GameKey::Right:
            page_ = (page_ + 1) % ConfigPage::Count;
            item_ = 0;
            break;
        case GameKey::Left:
            item_ = 0;
            page_ = page_ == 0 ? ConfigPage::Count - 1 : page_ - 1;
            break;
        case GameKey::Down:
            if (rowCount > 0) item_ = item_ >= rowCount ? 1 : item_ + 1;
            break;
        case GameKey::Up:
            // From the first row, and from the tab bar, up wraps to the last row.
            if (rowCount > 0) item_ = item_ <= 1 ? rowCount : item_ - 1;
            break;
        case GameKey::Enter:
            if (page_ == ConfigPage::Save) {
                Settings::save();
                done_ = true;
            } else if (page_ == ConfigPage::Cancel) {
                Settings::load();
                done_ = true;
            } else if (item_ > 0) {
                const ConfigRow& row = configRows(page_)[static_cast<std::size_t>(item_ - 1)];
                if (row.kind == RowKind::Action) {
                    row.enter();
                } else {
                    editing_ = true;
                    entry_.clear();
                }
            }
            break;
        default:
            break;
    }
}

void ConfigEditor::edit(unsigned char key) {
    const ConfigRow& row = configRows(page_)[static_cast<std::size_t>(item_ - 1)];
    switch (row.kind) {
        case RowKind::Key:
            editKey(row, key);
            break;
        case RowKind::Number:
            editNumber(row, key);
            break;
        case RowKind::Name:
            editName(key);
            break;
        case RowKind::Address:
            editAddress(key);
            break;
        case RowKind::Action:
            break;
    }
}

void ConfigEditor::close() {
    editing_ = false;
    entry_.clear();
}

void ConfigEditor::editKey(const ConfigRow& row, unsigned char key) {
    if (isBindable(key)) {
        row.setKey(static_cast<char>(key));
        close();
    } else {
        entry_ = kInvalidKey;
    }
}

void ConfigEditor::editNumber(const ConfigRow& row, unsigned char key) {
    if (key == GameKey::Enter) {
        // A refused value (0, or a field of view the projection cannot take) keeps the
        // row open for another try.
        if (row.storeNumber(entry_.c_str()))
            close();
        else
            entry_.clear();
    } else if (key == GameKey::Backspace) {
        if (!entry_.empty()) entry_.pop_back();
    } else if (isDigit(key) && entry_.size() < static_cast<std::size_t>(row.maxDigits)) {
        entry_.push_back(static_cast<char>(key));
    }
}

void ConfigEditor::editName(unsigned char key) {
    if (key == GameKey::Enter) {
        Settings::setPlayerName(entry_.empty() ? kDefaultPlayerName : entry_.c_str());
        close();
    } else if (key == GameKey::Backspace) {
        if (!entry_.empty()) entry_.pop_back();
    } else if (isBindable(key) && entry_.size() < kMaxNameLength) {
        entry_.push_back(static_cast<char>(key));
    }
}

void ConfigEditor::editAddress(unsigned char key) {
    const auto dots = static_cast<std::size_t>(std::count(entry_.begin(), entry_.end(), '.'));
    const std::size_t lastDot = entry_.rfind('.');
    const std::size_t groupDigits =
        lastDot == std::string::npos ? entry_.size() : entry_.size() - lastDot - 1;
    if (key == GameKey::Enter) {
        // The value is stored even while incomplete; the row closes on a full address.
        Settings::setServerIp(entry_.empty() ? kDefaultServerIp : entry_.c_str());
        if (dots == kAddressDots) close();
    } else if (key == GameKey::Backspace) {
        if (!entry_.empty()) entry_.pop_back();
    } else if (entry_.size() >= kMaxAddressLength) {
        return;
    } else if (isDigit(key) && groupDigits < kMaxGroupDigits) {
        entry_.push_back(static_cast<char>(key));
    } else if (key == '.' && dots < kAddressDots && groupDigits > 0) {
        entry_.push_back('.');
    }
}

std::string ConfigEditor::valueText(std::int32_t row) const {
    const std::span<const ConfigRow> rows = configRows(page_);
    if (row < 1 || row > static_cast<std::int32_t>(rows.size())) return {};
    if (editing_ && row == item_) return entry_ + "_";
    return rows[static_cast<std::size_t>(row - 1)].value();
}
