#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "net/connection.h"
#include "net/net_object.h"
#include "net/protocol/client_messages.h"
#include "net/send_thread.h"

namespace net {

// The game's side of the server connection: announces and withdraws own objects,
// streams them through the SendThread, sends events, and turns the server's messages
// into calls of four handlers that the World registers (function pointer plus context).
// Handlers run on the receiving thread.
class NetClient {
  public:
    using NewObjectHandler = std::int32_t (*)(void* context, std::int32_t id, std::uint8_t typeCode,
                                              Pose pose);
    using RemoveObjectHandler = std::int32_t (*)(void* context, std::int32_t id,
                                                 std::uint8_t typeCode);
    using CombatEventHandler = std::int32_t (*)(void* context, std::uint8_t type, std::int32_t id1,
                                                std::int32_t id2, std::int32_t id3,
                                                std::uint8_t type1, std::uint8_t type2);
    using DataEventHandler = void (*)(void* context, std::uint8_t type, std::int32_t id,
                                      const std::uint8_t* payload, std::size_t length);

    // Remote objects this client keeps at most; a MSG_NEW beyond it is dropped, so a
    // flood of announcements cannot exhaust memory. A full match (127 players, each with
    // a Voka and the ten or so shots it can have in flight) stays far below it.
    static constexpr std::size_t kMaxRemoteObjects = 4096;

    // `passWait` paces the sending thread (see SendThread); without it, it sleeps.
    explicit NetClient(SendThread::PassWait passWait = nullptr);
    NetClient(const NetClient&) = delete;
    NetClient& operator=(const NetClient&) = delete;
    ~NetClient();

    // Connects to the server of the settings (or the given one) and starts both
    // threads: 0, or -1 when the connection or a thread failed (no message is shown).
    std::int32_t connect();
    std::int32_t connect(const char* host, std::uint16_t port);
    // Stops the SendThread, sends MSG_GOODBYE, closes the connection and forgets every
    // remote object. Never waits for the server: the socket is shut down before the
    // receiving thread is joined. Once it returns no handler runs and no remote pose is
    // written, so the caller may free what the handlers reach. It waits for a handler
    // that is running: never call it while holding a lock that handlers take.
    void disconnect();

    // MSG_NEW, then the object is streamed until removeObject.
    void addObject(NetObject& object);
    // MSG_REMOVE; the object is not streamed after this returns; its serial is freed.
    void removeObject(NetObject& object);
    void sendEvent(std::uint8_t type, ObjectRef a, ObjectRef b, ObjectRef c);
    // A whole message of the protocol module (MSG_NAME, MSG_FRAGS, ...).
    void send(const WireMessage& message);
    // An 11-byte message whose bytes 3-10 are the first 8 payload bytes (zeros beyond
    // `length`).
    void sendData(std::uint8_t type, std::int32_t id, const void* payload, std::size_t length);
    // Remote objects receive MSG_UPDATE poses from now on; false, and nothing
    // registered, when its identifier is taken or kMaxRemoteObjects are registered: the
    // caller must not keep the object then. A registered object must stay alive until
    // the remove handler has removed it or the client has disconnected.
    bool registerRemote(NetObject& object);
    // -1 until the server has sent the client number, else (number << 16) | serial
    // (-1 when all serials are in use).
    std::int32_t makeId();
    std::int32_t getClientNumber() const { return clientNumber_.load(); }
    std::size_t remoteObjectCount() const;
    bool isReceiving() const { return connection_.isReceiving(); }
    // False before connect, after disconnect, and once a send has given up on a server
    // that stopped reading.
    bool isConnected() const { return connection_.isOpen(); }

    // A null function disables the event. Setting a slot waits for a handler call that
    // is already running (unless a handler itself sets it), so once a slot is cleared
    // nothing it named runs any more. A handler may be waiting for the caller's lock:
    // never set a slot while holding a lock that handlers take.
    //
    // The remove handler is called only for a registered object, with the type code it
    // was announced with; the object stays registered unless the handler returns 0.
    void setNewObjectHandler(void* context, NewObjectHandler handler);
    void setRemoveObjectHandler(void* context, RemoveObjectHandler handler);
    void setCombatEventHandler(void* context, CombatEventHandler handler);
    void setDataEventHandler(void* context, DataEventHandler handler);

    // Sees every whole server message, type byte first, on the receiving thread before
    // it is dispatched (a demo recording). Set it before connect and leave it: the
    // receiving thread reads it without a lock.
    using MessageTap = void (*)(void* context, const std::uint8_t* bytes, std::size_t length);
    void setMessageTap(void* context, MessageTap tap) {
        tapContext_ = context;
        tap_ = tap;
    }

    // The receive handler: one whole server message (type, body, total length).
    static void dispatch(void* context, std::uint8_t type, const std::uint8_t* body,
                         std::size_t length);

  private:
    template <typename Function>
    struct Handler {
        Function function = nullptr;
        void* context = nullptr;
    };

    struct Remote {
        NetObject* object = nullptr;
        std::uint8_t typeCode = 0;  // as announced
    };

    std::int32_t startThreads();
    void dispatchMessage(std::uint8_t type, const std::uint8_t* body, std::size_t length);
    void handleNewObject(std::int32_t id, std::uint8_t typeCode, const Pose& pose);
    void handleRemoveObject(std::int32_t id);
    template <typename Function>
    void setHandler(Handler<Function>& slot, void* context, Function function);
    // Calls the handler in `slot`, if any, with `args`; returns its result, or
    // `otherwise` when the slot is empty.
    template <typename Function, typename Result, typename... Args>
    Result call(const Handler<Function>& slot, Result otherwise, Args... args);

    Connection connection_;
    SendThread sendThread_;
    // Remote objects by identifier (not owned), guarded by remoteLock_.
    mutable std::mutex remoteLock_;
    std::unordered_map<std::int32_t, Remote> remoteObjects_;
    mutable std::mutex handlerLock_;  // guards the four handler slots
    // Held for the whole of each handler call, so that setting a slot can wait for it.
    std::mutex callLock_;
    std::atomic<std::thread::id> callingThread_{};  // the thread inside a handler call
    Handler<NewObjectHandler> onNewObject_;
    Handler<RemoveObjectHandler> onRemoveObject_;
    Handler<CombatEventHandler> onCombatEvent_;
    Handler<DataEventHandler> onDataEvent_;
    std::atomic<std::int32_t> clientNumber_{-1};
    MessageTap tap_ = nullptr;
    void* tapContext_ = nullptr;
};

}  // namespace net
