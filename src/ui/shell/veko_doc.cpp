#include "ui/shell/veko_doc.h"

#include "platform/error.h"

namespace torva {

namespace {
CVeko2012Doc* g_document = nullptr;
}

CVeko2012Doc* theDocument() {
    return g_document;
}

CVeko2012Doc::CVeko2012Doc(std::unique_ptr<ISerialIo> io)
    : m_device(std::make_unique<CLPGDevice>(std::move(io))),
      m_polling(std::make_unique<CPollingControl>(*m_device)) {
    g_document = this;
}

CVeko2012Doc::~CVeko2012Doc() {
    m_polling.reset();
    if (g_document == this) {
        g_document = nullptr;
    }
}

void CVeko2012Doc::buildErrorDecoders() {
    m_errorDecoders = std::make_unique<CDeviceErrorList>();
}

void CVeko2012Doc::searchAndConnect() {
    if (!m_connection.searchAndConnect) {
        return;
    }
    try {
        m_connection.searchAndConnect(*m_device);
    } catch (const IError&) {
        // Start-up goes on without a controller; the caption and the message box say so.
    }
}

bool CVeko2012Doc::reconnect() {
    if (!m_connection.reconnect) {
        return false;
    }
    try {
        return m_connection.reconnect(*m_device);
    } catch (const IError&) {
        return false;
    }
}

} // namespace torva
