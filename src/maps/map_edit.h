#pragma once

#include <functional>
#include <string>

namespace torva {

class CLPGDevice;

enum class EHeaderCell { Load, Rpm, Body };

// The rules of the header editor of a channel's time-map grid: what a typed header value
// becomes, when it is written to the controller, and what the header shows afterwards, which is
// always the value the record (and so the controller) holds.
class CMapEdit {
public:
    CMapEdit(CLPGDevice& device, int channel);
    virtual ~CMapEdit() = default;
    CMapEdit(const CMapEdit&) = delete;
    CMapEdit& operator=(const CMapEdit&) = delete;

    // The text the cell keeps after typed was entered into load row, RPM column or a body cell
    // (index: the row or the column).
    std::string getText(EHeaderCell cell, int index, const std::string& typed);
    // Heard after an axis point was written (the page refills its grids).
    void setAxisListener(std::function<void()> listener) { m_axisChanged = std::move(listener); }

    static constexpr double kRpmMin = 500;
    static constexpr double kRpmMax = 8000;
    static constexpr double kRpmStep = 100;

private:
    std::string loadText(int row, double typed);
    std::string rpmText(int column, double typed);
    // The only changes of the live record: one axis point, then its block.
    bool storeLoadPoint(int row, double value);
    bool storeRpmPoint(int column, double value);

    CLPGDevice& m_device;
    int m_channel;
    std::function<void()> m_axisChanged;
};

class CMapEditEmu1 : public CMapEdit {
public:
    explicit CMapEditEmu1(CLPGDevice& device) : CMapEdit(device, 1) {}
};
class CMapEditEmu2 : public CMapEdit {
public:
    explicit CMapEditEmu2(CLPGDevice& device) : CMapEdit(device, 2) {}
};
class CMapEditEmu3 : public CMapEdit {
public:
    explicit CMapEditEmu3(CLPGDevice& device) : CMapEdit(device, 3) {}
};
class CMapEditEmu4 : public CMapEdit {
public:
    explicit CMapEditEmu4(CLPGDevice& device) : CMapEdit(device, 4) {}
};
class CMapEditEmuTPSDigital : public CMapEdit {
public:
    explicit CMapEditEmuTPSDigital(CLPGDevice& device) : CMapEdit(device, 5) {}
};

} // namespace torva
