#pragma once

namespace torva {

// What a change of the page set asks of the pages: the page to deactivate (numbered as before
// the change) and the page to activate (numbered as after it); -1 for none.
struct SPageSwitch {
    int deactivate = -1;
    int activate = -1;
};

// Which page of a page control is active. At most one page is active; while there are pages,
// exactly one is (the first page inserted becomes active).
class CPageSelection {
public:
    int count() const { return m_count; }
    int active() const { return m_active; }

    // Appends a page at the end.
    SPageSwitch insert();
    // Makes index active; an index out of range or already active changes nothing.
    SPageSwitch activate(int index);
    // Removes a page; when it was the active one, the page that takes its place (or the new
    // last page) becomes active. An index out of range changes nothing.
    SPageSwitch remove(int index);
    // The page step places away from the active one, wrapping around; -1 without pages.
    int neighbour(int step) const;

private:
    int m_count = 0;
    int m_active = -1;
};

} // namespace torva
