#pragma once

// Pieces shared by the editing dialogs.

#include <QComboBox>
#include <QObject>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace vortak {

// Calls `onReturn` instead of letting Return or Enter reach the dialog while `watched` has
// the focus.
void onReturnKey(QWidget* watched, std::function<void()> onReturn);
// Calls `onNumber` with a number box's text when an item is chosen from its list and when
// Return or Enter is pressed after a typed number.
void onNumberChosen(QComboBox* box, std::function<void(const std::string&)> onNumber);
// Tab moves through `widgets` in the order given.
void setTabChain(std::initializer_list<QWidget*> widgets);

// Replaces the items of a number box when they differ, keeping its text as given.
void setItems(QComboBox* box, const std::vector<std::string>& items);
// Shows `text` in an editable box without touching its list.
void setBoxText(QComboBox* box, const std::string& text);
// An editable number box: typed numbers allowed, nothing inserted into the list.
QComboBox* numberBox(QWidget* parent);

QString qt(const std::string& text);

// Delete on the left, Apply and Cancel on the right: the button row of every editing
// dialog.
QHBoxLayout* buttonRow(QPushButton* remove, QPushButton* apply, QPushButton* cancel);
// The keyboard of an editing dialog, set up once all its controls exist. No button is the
// dialog's default: Return and Enter do what the dialog's own Enter handlers say and
// nothing elsewhere, except on a button with the focus, which they press like Space. Every
// text box and number box selects its whole text when the focus comes to it other than by
// a mouse click, so that typing replaces the value shown.
void setUpKeyboard(QDialog* dialog);
// Moves the focus as the dialog's logic asks, with the text of a text or number box
// selected, ready to be retyped.
void giveFocus(QWidget* target);

}  // namespace vortak
