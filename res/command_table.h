// The command table: for every command id its menu text, shortcut keys,
// prompt and toolbar icon. The frame builds its actions from it; nothing
// else spells these texts.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <span>

namespace vantor {

struct CommandInfo {
    int nID;
    // The menu item's text; '\t' separates the key name shown at the right.
    // Empty for commands reached only by toolbar or keys.
    const char* pszMenuText;
    // Shortcuts in portable key-sequence text, several separated by "; ".
    const char* pszKeys;
    // Status bar prompt, then '\n' and the tool tip; either part may be absent.
    const char* pszPrompt;
    // Toolbar picture in the resources; null for commands not on the toolbar.
    const char* pszIcon;
};

// Every command, in the order of the menus.
std::span<const CommandInfo> GetCommandTable();

// The row of nID, or null when the id is not a command.
const CommandInfo* FindCommand(int nID);

// The prompt shown in the status bar: the text before the prompt's last
// newline, the whole prompt when it has none.
QString StatusPromptOf(const char* pszPrompt);

// The tool tip: the text after the prompt's last newline; empty when the
// prompt has no newline.
QString ToolTipOf(const char* pszPrompt);

QList<QKeySequence> ShortcutsOf(const CommandInfo& command);

}  // namespace vantor
