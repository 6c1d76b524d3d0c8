#include "net/net_client.h"

#include <type_traits>
#include <utility>

#include "net/protocol/server_messages.h"
#include "net/serial_table.h"
#include "platform/message_box.h"

namespace net {

NetClient::NetClient(SendThread::PassWait passWait)
    : sendThread_(&connection_, std::move(passWait)) {}

NetClient::~NetClient() {
    sendThread_.stop();
    connection_.close();
}

std::int32_t NetClient::connect() {
    if (connection_.open() != 0) return -1;
    return startThreads();
}

std::int32_t NetClient::connect(const char* host, std::uint16_t port) {
    if (connection_.open(host, port) != 0) return -1;
    return startThreads();
}

std::int32_t NetClient::startThreads() {
    if (sendThread_.start() != 0) {
        connection_.close();
        return -1;
    }
    connection_.setHandler(this, &NetClient::dispatch);
    if (connection_.startReceiving() != 0) {
        sendThread_.stop();
        connection_.close();
        return -1;
    }
    return 0;
}

void NetClient::disconnect() {
    sendThread_.stop();
    connection_.send(encodeGoodbye());
    connection_.close();
    std::lock_guard<std::mutex> guard(remoteLock_);
    remoteObjects_.clear();
}

void NetClient::addObject(NetObject& object) {
    connection_.send(encodeNew(object.netType(), object.netId(), object.netPose().load()));
    sendThread_.add(object);
}

void NetClient::removeObject(NetObject& object) {
    const std::int32_t id = object.netId();
    connection_.send(encodeRemove(id, object.netType()));
    sendThread_.remove(object);
    freeSerial(id & 0xFFFF);
}

void NetClient::sendEvent(std::uint8_t type, ObjectRef a, ObjectRef b, ObjectRef c) {
    connection_.send(encodeEvent(type, a, b, c));
}

void NetClient::send(const WireMessage& message) {
    connection_.send(message);
}

void NetClient::sendData(std::uint8_t type, std::int32_t id, const void* payload,
                         std::size_t length) {
    connection_.send(encodeData(type, id, payload, length));
}

bool NetClient::registerRemote(NetObject& object) {
    std::lock_guard<std::mutex> guard(remoteLock_);
    if (remoteObjects_.size() >= kMaxRemoteObjects) return false;
    return remoteObjects_.try_emplace(object.netId(), Remote{&object, object.netType()}).second;
}

std::int32_t NetClient::makeId() {
    const std::int32_t number = clientNumber_.load();
    if (number == -1) return -1;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number) << 16) | allocSerial();
}

std::size_t NetClient::remoteObjectCount() const {
    std::lock_guard<std::mutex> guard(remoteLock_);
    return remoteObjects_.size();
}

void NetClient::setNewObjectHandler(void* context, NewObjectHandler handler) {
    setHandler(onNewObject_, context, handler);
}

void NetClient::setRemoveObjectHandler(void* context, RemoveObjectHandler handler) {
    setHandler(onRemoveObject_, context, handler);
}

void NetClient::setCombatEventHandler(void* context, CombatEventHandler handler) {
    setHandler(onCombatEvent_, context, handler);
}

void NetClient::setDataEventHandler(void* context, DataEventHandler handler) {
    setHandler(onDataEvent_, context, handler);
}

template <typename Function>
void NetClient::setHandler(Handler<Function>& slot, void* context, Function function) {
    {
        std::lock_guard<std::mutex> guard(handlerLock_);
        slot = {function, context};
    }
    // A call that took the old slot may still be running: wait for it to end, unless
    // this is that call changing the handlers.
    if (callingThread_.load() != std::this_thread::get_id()) {
        std::lock_guard<std::mutex> wait(callLock_);
    }
}

template <typename Function, typename Result, typename... Args>
Result NetClient::call(const Handler<Function>& slot, Result otherwise, Args... args) {
    std::lock_guard<std::mutex> calling(callLock_);
    Handler<Function> handler;
    {
        // Copied under the lock and called outside it, so that setting a slot never
        // waits for the handler while holding handlerLock_.
        std::lock_guard<std::mutex> guard(handlerLock_);
        handler = slot;
    }
    if (handler.function == nullptr) return otherwise;
    callingThread_ = std::this_thread::get_id();
    Result result = otherwise;
    if constexpr (std::is_void_v<decltype(handler.function(handler.context, args...))>) {
        handler.function(handler.context, args...);
    } else {
        result = handler.function(handler.context, args...);
    }
    callingThread_ = std::thread::id{};
    return result;
}

void NetClient::dispatch(void* context, std::uint8_t type, const std::uint8_t* body,
                         std::size_t length) {
    static_cast<NetClient*>(context)->dispatchMessage(type, body, length);
}

void NetClient::dispatchMessage(std::uint8_t type, const std::uint8_t* body, std::size_t length) {
    if (body == nullptr || length == 0) return;
    WireMessage whole;
    if (length > whole.bytes.size()) return;
    whole.bytes[0] = type;
    std::copy(body, body + (length - 1), whole.bytes.begin() + 1);
    whole.length = length;
    if (tap_ != nullptr) tap_(tapContext_, whole.bytes.data(), whole.length);
    const auto message = decodeServerMessage(whole.bytes.data(), whole.length);
    if (!message) return;

    using Kind = ServerMessage::Kind;
    switch (message->kind) {
        case Kind::NewObject:
            handleNewObject(message->id, message->typeCode, message->pose);
            break;
        case Kind::Update: {
            if (!isFinitePose(message->pose)) break;
            std::lock_guard<std::mutex> guard(remoteLock_);
            const auto found = remoteObjects_.find(message->id);
            if (found != remoteObjects_.end()) found->second.object->netPose().store(message->pose);
            break;
        }
        case Kind::ServerFull:
            showError("server full...disabling multiplayer");
            disconnect();
            break;
        case Kind::Remove:
            handleRemoveObject(message->id);
            break;
        case Kind::Combat:
            call(onCombatEvent_, std::int32_t{-1}, message->type, message->id, message->id2,
                 message->id3, message->type1, message->type2);
            break;
        case Kind::ClientNumber:
            clientNumber_ = message->clientNumber;
            break;
        case Kind::Data:
            call(onDataEvent_, 0, message->type, message->id, message->payload,
                 message->payloadLength);
            break;
        case Kind::Ignored:
            break;
    }
}

void NetClient::handleNewObject(std::int32_t id, std::uint8_t typeCode, const Pose& pose) {
    if (!isFinitePose(pose)) return;
    {
        // A second MSG_NEW for a known object would leave a second copy behind in the
        // World; past the cap the announcement is dropped.
        std::lock_guard<std::mutex> guard(remoteLock_);
        if (remoteObjects_.size() >= kMaxRemoteObjects || remoteObjects_.count(id) != 0) return;
    }
    call(onNewObject_, std::int32_t{-1}, id, typeCode, pose);
}

void NetClient::handleRemoveObject(std::int32_t id) {
    std::uint8_t typeCode = 0;
    {
        std::lock_guard<std::mutex> guard(remoteLock_);
        const auto found = remoteObjects_.find(id);
        // Not registered: the World holds nothing of that identifier.
        if (found == remoteObjects_.end()) return;
        typeCode = found->second.typeCode;
    }
    // Forgotten only once the World has let go of it, so a refused removal cannot
    // leave an object in the World that the cap no longer counts. Updates run on this
    // thread too, so none reaches the object between its removal and the erase.
    if (call(onRemoveObject_, std::int32_t{-1}, id, typeCode) != 0) return;
    std::lock_guard<std::mutex> guard(remoteLock_);
    remoteObjects_.erase(id);
}

}  // namespace net
