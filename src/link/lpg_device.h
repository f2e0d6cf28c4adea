#pragma once

#include "config/block_table.h"
#include "config/device_config.h"
#include "link/device_records.h"
#include "link/diag_data.h"
#include "link/frame_codec.h"
#include "link/port_problem.h"
#include "link/serial_io.h"
#include "link/serial_port.h"
#include "platform/mutex.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace torva {

class CDeviceErrorList;

// The one gateway to the controller for the whole run: it owns the serial channel, serialises
// every request/response exchange on it, and carries the link's state.
class CLPGDevice {
public:
    // ---- Construction -------------------------------------------------------------------------
    // Owns a CSerialPort unless another channel is given (tests pass scripted ones). Becomes the
    // device theDevice() returns until it is destroyed.
    explicit CLPGDevice(std::unique_ptr<ISerialIo> io = nullptr);
    ~CLPGDevice();
    CLPGDevice(const CLPGDevice&) = delete;
    CLPGDevice& operator=(const CLPGDevice&) = delete;

    // ---- Serial channel -----------------------------------------------------------------------
    ISerialIo& serialIo() { return *m_io; }
    // The owned real port, or nullptr when another channel was given.
    CSerialPort* serialPort() { return m_port; }
    // Puts another channel around the current one (a frame log); the owned port stays the one
    // the connection opens. Call it before any exchange.
    using IoDecorator = std::function<std::unique_ptr<ISerialIo>(std::unique_ptr<ISerialIo>)>;
    void decorateSerialIo(const IoDecorator& decorate) { m_io = decorate(std::move(m_io)); }

    // ---- Link flags ---------------------------------------------------------------------------
    // Demo: the system runs without a controller and no command touches the wire.
    bool isDemo() const { return m_demo.load(); }
    void setDemo(bool demo) { m_demo.store(demo); }
    // Connected: identification succeeded and the polling thread has not lost the controller.
    bool isConnected() const { return m_connected.load(); }
    void setConnected(bool connected) { m_connected.store(connected); }
    // Live diagnostics available: true from construction; identification sets it from the
    // controller's answer. Polling starts only while it is true.
    bool hasLiveDiagnostics() const { return m_liveDiagnostics.load(); }
    void setLiveDiagnostics(bool available) { m_liveDiagnostics.store(available); }

    // ---- Offline: a settings file stands in for the controller --------------------------------
    // Going offline takes the record as the configuration a controller of the record's type and
    // firmware holds: the device keeps the byte image of every block that controller has, and
    // reads the record back from them as a connection would. From then on every operation
    // works on those images as the controller works on its memory: a block write stores the
    // encoded block, a partial map write steps the map's bytes with the controller's
    // saturation, a map clear zeroes it, a block read decodes it into the record; the reset,
    // the identity and statistics reads and the diesel switch before whole writes succeed and
    // change nothing. Nothing touches the wire; every operation that needs a live controller
    // fails at once. Pages edit the record as they do online, so it may hold what the
    // controller keeps coarser; offlineRecord() is what the controller holds.
    // Going offline closes the port, clears the demo flag and sets the connected flag; leaving
    // it clears the connected flag.
    bool isOffline() const { return m_offline.load(); }
    void setOffline(bool offline);
    // The record as the stand-in controller holds it: the live record with every block image
    // decoded into it (as a fresh connection would read them). The TPS jump, which no block
    // carries, is the record's.
    CDeviceConfig offlineRecord() const;
    // Edits of the record since offline mode began; the listener, when set, hears of each one on
    // the thread that made it (the window marks unsaved changes).
    std::uint64_t offlineEdits() const { return m_offlineEdits.load(); }
    void setOfflineEditListener(std::function<void()> listener) {
        m_offlineEditListener = std::move(listener);
    }

    // ---- Configuration record -----------------------------------------------------------------
    // The live configuration of the connected controller (identity in m_devInfo); every page
    // reads and edits this copy.
    CDeviceConfig& config() { return m_config; }
    const CDeviceConfig& config() const { return m_config; }

    // The configuration lock. The polling thread reads the live record (a recording line is
    // converted with its sensor types and flags) while the window's thread edits it, so every
    // change to the record is made while holding this lock, and every read off the window's
    // thread copies what it needs under it. Hold it for the edit or the copy only, never across
    // a controller exchange: writeBlock encodes under it and sends without it. It is recursive,
    // so a helper that takes it again inside an edit does not deadlock; it is never taken while
    // the sample store's lock is held.
    //     {
    //         const auto lock = device.lockConfig();
    //         device.config().m_base.m_switchRPM = rpm;
    //     }
    //     device.writeBlock(EBlock::Base);
    using ConfigLock = std::unique_lock<std::recursive_mutex>;
    [[nodiscard]] ConfigLock lockConfig() const { return ConfigLock(m_configMutex); }
    // Runs edit(config()) under the configuration lock and returns what it returns: an edit,
    // or a read of fields that must agree with each other (returned by value).
    template <class Edit> auto withConfig(Edit&& edit) {
        const ConfigLock lock = lockConfig();
        return std::forward<Edit>(edit)(m_config);
    }
    // A copy of the live record taken under the lock.
    CDeviceConfig configCopy() const {
        const ConfigLock lock = lockConfig();
        return m_config;
    }

    // Every controller operation below returns false once its attempts are used up (the caller
    // shows its own message); serial faults raise CRSError through it. In demo mode every one of
    // them except identification and the loader and programming commands succeeds without
    // touching the wire, changing nothing but the demo values it names.

    // ---- Identification -----------------------------------------------------------------------
    // Asks the controller who it is (4 attempts) and stores model code and name in m_devInfo and
    // the live-diagnostics flag. A controller without a valid application is identified through
    // its loader, told so, and handed to forced programming, whose result is returned.
    bool identify();
    // The model code of a controller the last identification found but does not support.
    std::optional<std::uint8_t> unsupportedModel() const { return m_unsupportedModel; }
    // What the loader identity query got.
    enum class ELoaderAnswer {
        None,     // no answer with code 2 within 3 attempts
        Accepted, // a known loader identity (value)
        Refused,  // another status, or an unknown identity (the loader was then told to leave)
    };
    struct SLoaderIdentity {
        ELoaderAnswer answer = ELoaderAnswer::None;
        std::uint8_t value = 0;
    };
    // The loader identity query with sub-code 197 or 196 (3 attempts; no demo shortcut).
    SLoaderIdentity queryLoaderIdentity(std::uint8_t subCode);
    // Runs when identification finds no valid application: programs the firmware in its forced
    // form and returns whether that succeeded. Until someone installs one, nothing is programmed.
    using ForcedProgramming = std::function<bool()>;
    void setForcedProgramming(ForcedProgramming programming);
    // Reads the device information record into m_devInfo (version, flag words, injectors,
    // identifier, production date, model code) and sets the switchable ADC scale from it.
    // Demo: the demo identity (version 1.47, 6 injectors, "DI001", "21/01/2016", flag word 1 = 5,
    // model 25 "KARMEL A2").
    bool readDeviceInfo();

    // ---- Configuration transfer ---------------------------------------------------------------
    // Reads one block into the live record (decoded under the configuration lock); on failure
    // the record stays as it was. An answer shorter than the block reads as if the missing bytes
    // were zero.
    bool readBlock(EBlock block);
    // Writes one block from the live record (15 attempts, acknowledged). The block is encoded
    // once under the configuration lock and sent without it, so the polling thread never waits
    // for a write's attempts.
    bool writeBlock(EBlock block);
    // The whole read after connecting: identification, device information, then every block the
    // controller has, each retried once after 131 ms. Messages tell the user what could not be
    // read; the result is false only when identification failed.
    bool readConfiguration();

    // ---- Queries ------------------------------------------------------------------------------
    // Statistics record into m_devInfo.m_statistic. Demo: 30 and 45 half-seconds, 0.
    bool readStatistics();
    // Demo: the first counter becomes 0, the others stay.
    bool readCounters(DeviceCounters& counters);
    // Demo: zeros (the demo car has no faults).
    bool readErrorStatus(ErrorStatus& status);
    // Model 37's error record. Demo: zeros.
    bool readErrorRecord(ErrorRecord& record);
    // Firmware above 296. Demo: zeros.
    bool readExtendedErrorRecord(ErrorRecord& record);
    // The fault texts for the error list: status, model 37's error record when the injector byte
    // is set (that byte is then not decoded), the extended record on firmware above 296.
    // std::nullopt when one of the reads failed.
    std::optional<std::vector<std::string>> readErrorTexts(const CDeviceErrorList& decoders);
    // See decodeExhaustRecord for its contents.
    bool readExhaustRecord(ExhaustRecord& record);
    // One live sample read on demand, decoded as the polling thread decodes it (the sequence
    // number is left alone). Demo: the demo sample. False when no live-sample answer arrived.
    bool readLiveSample(DiagSample& sample);
    // What one live-sample exchange brought: the polling thread counts a failed exchange
    // against the controller but not an answer of another kind.
    enum class ELiveRead { Ok, Failed, WrongCode };
    // One live-sample exchange (no demo shortcut): the strict exchange, then the decoder.
    ELiveRead exchangeLiveSample(DiagSample& sample);
    // page 0-3.
    bool readCapturePage(int page, SCapturePage& captured);
    // In 32 chunks; the table changes only when every chunk arrived.
    bool readCorrelationTable(CorrelationTable& table);
    // In 32 chunks; the first chunk that is not acknowledged ends the write.
    bool writeCorrelationTable(const CorrelationTable& table);

    // ---- Mode and map actions -----------------------------------------------------------------
    // Demo: the demo fuel mode becomes gas (3) or diesel (2).
    bool switchToGas();
    bool switchToDiesel();
    // Diesel first, then automatic.
    bool switchToAuto();
    // Diesel, then up to 19 live-sample polls 100 ms apart (the window stays responsive) until
    // the controller reports diesel.
    bool switchToDieselAndWait();
    // Resets the controller, which also clears its stored faults.
    bool resetDevice();
    // Map numbers 1-10: time map 1, emulation map 1, ..., time map 4, emulation map 4, time map
    // TpsD, emulation map TpsD. Clears the map in the controller, then completes the change;
    // true when both were acknowledged (the caller zeroes the map in the record).
    bool clearMap(int mapNumber);
    // Only the clearing half of clearMap: the caller sends completeMapChange itself.
    bool sendMapClear(int mapNumber);
    // Tells the controller a change of the map is complete.
    bool completeMapChange(int mapNumber);
    // One partial map write from the map editor (one attempt).
    static constexpr std::size_t kMapPartSize = 6;
    bool writeMapPart(int mapNumber, std::span<const std::uint8_t, kMapPartSize> part);
    // Starts or stops the controller's recording of the TPS correlation table.
    bool setCorrelationRecording(bool on);
    // Sent after a corrected correlation table has been written.
    bool confirmCorrelationTable();

    // ---- Firmware programming (never shortcut by demo mode) ----------------------------------
    static constexpr std::uint32_t kProgramStartAddress = 0x2000;
    // Puts the controller into its loader (one attempt).
    bool sendAccessCode();
    bool eraseFlashBlock(std::uint32_t address);
    bool writeFlashFrame(std::uint32_t address, const FlashFrame& frame);
    // Sends the image from address 0x2000 on, 128 addresses (256 image bytes, 192 sent) per
    // frame, erasing first at every multiple of eraseBlock; stops at the image end, after
    // frameCount frames or at flashEnd. False at the first frame that fails. onFrame, when given,
    // hears after every frame how many of how many frames have been written.
    using ProgramProgress = std::function<void(int done, int total)>;
    bool programImage(std::uint32_t flashEnd, std::uint32_t eraseBlock,
                      std::span<const std::uint8_t> image, int frameCount,
                      const ProgramProgress& onFrame = {});
    // Leaves the loader (status 4 expected, 3 attempts).
    bool leaveLoader();
    // The reset that ends programming (3 attempts, acknowledged).
    bool resetAfterProgramming();

    // ---- Frame exchange -----------------------------------------------------------------------
    // Size of the buffer every caller of an exchange owns.
    static constexpr std::size_t kExchangeBufferSize = frame::kBufferSize;
    // transactStrict's results.
    static constexpr int kStrictOk = 0;
    static constexpr int kStrictFailed = 2;

    // Sends command with the first `length` bytes of buffer as payload and reads the answer.
    // True when a valid answer arrived: command then holds the response code, length the
    // response payload length, buffer the payload, its two checksum bytes, and zeros beyond.
    // Otherwise the outputs are unchanged and the buffer content is undefined. The payload is
    // scrambled in place, so a retry must rebuild it. Serial faults raise CRSError.
    bool transact(std::uint8_t& command, std::uint8_t* buffer, std::uint8_t& length);
    // The live-sample exchange: as transact, but stale input is also discarded before the
    // request, nothing waits after a failure, the answer's payload must arrive in one read, and
    // its checksum has no constant 1. Returns kStrictOk with length = payload length + 2, or
    // kStrictFailed.
    int transactStrict(std::uint8_t& command, std::uint8_t* buffer, std::uint8_t& length);

    // Held for exactly one exchange; GUI commands and polls interleave only between exchanges.
    CMSGMutex& exchangeMutex() { return m_exchangeMutex; }
    // Where the random word of each request frame comes from (default: rand(), 15 bits).
    using RandomSource = std::function<std::uint16_t()>;
    void setRandomSource(RandomSource source);

    // ---- Live samples -------------------------------------------------------------------------
    // The store the polling thread fills and the pages read; it lives as long as the device.
    CDiagData& diagData() { return m_diagData; }
    // Closes the owned port and opens the same device again with the controller's line settings
    // and time-outs, without identification, under the exchange mutex (so no exchange of another
    // thread is cut). False when that fails or the device has no port of its own, and for a
    // pseudo-terminal whose other side has closed (left open: it can never answer again).
    bool reOpen();

    // ---- Connection ---------------------------------------------------------------------------
    // How ports are found; tests map port numbers to simulated controllers.
    struct SPortDiscovery {
        std::function<std::vector<int>()> presentPorts;         // ascending port numbers
        std::function<std::string(int portNumber)> pathForPort; // empty: no such device
    };
    // Empty members fall back to the system's present ports and port names.
    void setPortDiscovery(SPortDiscovery discovery);
    // The settings file the last good port is remembered in (empty: the per-user one).
    void setSettingsPath(std::string path);
    const std::string& settingsPath() const { return m_settingsPath; }

    // The start-up procedure: clears the demo and connected flags, tries the last good port
    // (its remembered device path first), then every present port in ascending order, and asks
    // the user for demo mode or work without a controller when none answered (startDemo).
    void searchAndConnect();
    // The same over the given present ports instead of the discovered ones.
    void searchAndConnect(const std::vector<int>& presentPorts);
    // The search without the question: true when a controller answered. The window retries
    // with it while no controller is connected.
    bool findController();
    bool findController(const std::vector<int>& presentPorts);
    // Demo mode: both flags set, the demo identity, the demo car's configuration, and a demo
    // engine that starts from cold with the next live sample.
    void startDemo();
    // The ports the last search could not open because they were busy or forbidden.
    const std::vector<SPortProblem>& searchProblems() const { return m_searchProblems; }
    // Opens the port with the controller's line settings and time-outs and reads the
    // configuration. On success the port (number and path) is remembered. Any error on the way
    // is swallowed and reported as false.
    bool connect(int portNumber);
    // The same on a device path (a pseudo-terminal, a by-id link). why, when given, receives
    // the reason of a failure: what to do about a busy, forbidden or vanished port (translated,
    // with the technical context below), a path that is no serial terminal, another failed
    // open, or no controller answering.
    bool connect(const std::string& devicePath, std::string* why = nullptr);

private:
    // ---- Serial channel and frame exchange ---------------------------------------------------
    std::unique_ptr<ISerialIo> m_io;
    CSerialPort* m_port = nullptr;
    CMSGMutex m_exchangeMutex;
    RandomSource m_random;

    // ---- Link flags ---------------------------------------------------------------------------
    std::atomic<bool> m_demo{false};
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_liveDiagnostics{true};
    std::atomic<bool> m_offline{false};
    // The stand-in controller's block images (empty: a block it does not have); under the
    // configuration lock.
    std::array<std::vector<std::uint8_t>, kBlockCount> m_offlineImages;
    std::atomic<std::uint64_t> m_offlineEdits{0};
    std::function<void()> m_offlineEditListener;

    // ---- Configuration record -----------------------------------------------------------------
    CDeviceConfig m_config;
    mutable std::recursive_mutex m_configMutex;

    // ---- Request shapes and the attempt rule (operations) -------------------------------------
    // What one exchange brought back.
    struct SAnswer {
        std::uint8_t code = 0;
        std::uint8_t length = 0; // payload bytes
        std::array<std::uint8_t, kExchangeBufferSize> bytes{};
        // Payload byte i; bytes past the payload's end read as zero, never as the checksum that
        // follows it in the buffer.
        std::uint8_t at(std::size_t i) const { return i < length ? bytes[i] : 0; }
    };
    using PayloadBuilder = std::function<std::vector<std::uint8_t>()>;
    using AnswerCheck = std::function<bool(const SAnswer&)>;
    // The attempt rule: the whole exchange, its payload built afresh, until accept takes the
    // answer or attempts are used up.
    bool request(std::uint8_t code, const PayloadBuilder& build, int attempts,
                 const AnswerCheck& accept, SAnswer& answer);
    // A query (request code 2, sub-code and argument) answered with responseCode.
    bool query(std::uint8_t subCode, std::uint16_t argument, std::uint8_t responseCode,
               int attempts, SAnswer& answer);
    // A query whose answer payload is copied into out (zero-filled past a short answer); out is
    // left alone when no answer arrives.
    bool queryRecord(std::uint8_t subCode, std::uint8_t responseCode, std::span<std::uint8_t> out,
                     std::uint16_t argument = 0);
    // An action (request code 2) that succeeds on any code-2 answer, or only on an
    // acknowledgement (code 2, status 4).
    enum class EReply { AnyCode2, Ack };
    bool action(std::uint8_t subCode, std::uint16_t argument, EReply reply, int attempts);
    // A write whose request code is its own, acknowledged.
    bool writeAcked(std::uint8_t code, const PayloadBuilder& build, int attempts);
    // The fuel mode byte of one live sample, or std::nullopt when none arrived.
    std::optional<std::uint8_t> readLiveFuelMode();
    bool identifyThroughLoader();
    void fillDemoIdentity();

    // ---- Offline ------------------------------------------------------------------------------
    // The controller's handling of a block read and write, a partial map write and a map clear,
    // on the block images; each change counts as an edit. False for a block it does not have.
    bool readBlockOffline(EBlock block);
    bool writeBlockOffline(EBlock block);
    bool writeMapPartOffline(int mapNumber, std::span<const std::uint8_t, kMapPartSize> part);
    bool clearMapOffline(int mapNumber);
    void noteOfflineEdit();

    // ---- Identification -----------------------------------------------------------------------
    ForcedProgramming m_forcedProgramming;
    std::optional<std::uint8_t> m_unsupportedModel;

    // ---- Live samples -------------------------------------------------------------------------
    CDiagData m_diagData;

    // ---- Connection ---------------------------------------------------------------------------
    // Opens path (number: its port number, 0 for none), reads the configuration and
    // remembers the port.
    bool connectDevice(const std::string& path, int portNumber, std::string* why);
    bool tryPort(int portNumber, const std::string& path);
    void offerDemo();
    SPortDiscovery m_discovery;
    std::string m_settingsPath;
    std::vector<SPortProblem> m_searchProblems;
};

// The device of the running application (set by its constructor), or nullptr.
CLPGDevice* theDevice();

} // namespace torva
