// Counts of the table editor's notifications, shared by its tests.
#pragma once

#include "vorn/ntabed/ntabed.h"

namespace vorn {

struct TCounts {
  int Data = 0, Setup = 0, Heading = 0, Attrib = 0, Layout = 0, States = 0, Selection = 0, Paste = 0;
};

// Every notification of Ed adds one to its count in N.
inline void CountEvents(TNTabEd& Ed, TCounts& N) {
  Ed.SetOnChange([&N](TObject*) { ++N.Data; });
  Ed.SetOnChangeSetup([&N](TObject*) { ++N.Setup; });
  Ed.SetOnHeadingChanged([&N](TObject*) { ++N.Heading; });
  Ed.SetOnAttributeChanged([&N](TObject*) { ++N.Attrib; });
  Ed.SetOnLayoutChanged([&N](TObject*) { ++N.Layout; });
  Ed.SetOnCellStateChanged([&N](TObject*) { ++N.States; });
  Ed.SetOnSelectionChanged([&N](TObject*) { ++N.Selection; });
  Ed.SetOnPaste([&N](TObject*) { ++N.Paste; });
}

}  // namespace vorn
