// Tests of framework messages: posting, sending, the queue, owners and weak references.
#include "framework/support/ElementsTestSupport.h"

#include "framework/core/Messages.h"

#include <gtest/gtest.h>

#include <vector>

using namespace lumextest;

namespace {

// What a handler saw of one delivered message.
struct Seen {
    qint32 code;
    TElement* sender;
    TElement* receiver;
    TElement* data;
    QString text;
};

class MessagesTest : public ElementsFixture
{
protected:
    void TearDown() override { SetFrameworkMessageHandler({}); }

    void record()
    {
        SetFrameworkMessageHandler([this](TLumexMessage& msg, bool&) {
            const auto* text = dynamic_cast<TLumexTextMessage*>(&msg);
            seen.push_back({msg.Message(), msg.Sender(), msg.Receiver(), msg.Data(), text ? text->Text() : QString()});
        });
    }

    std::vector<Seen> seen;
};

// Without a handler nothing waits: posted messages are freed at once, pending ones when it goes.
TEST_F(MessagesTest, WithoutHandlerMessagesAreFreed)
{
    auto sender = Create<TOwnerElement>();
    sender->PostMessage(5, nullptr, nullptr);
    PostTextMessage(sender.get(), LumexCode::Info, QStringLiteral("text"), nullptr);
    EXPECT_EQ(PendingFrameworkMessages(), 0);   // and LeakSanitizer finds nothing

    record();
    sender->PostMessage(1, nullptr, nullptr);
    SetFrameworkMessageHandler({});
    EXPECT_EQ(PendingFrameworkMessages(), 0);
    DispatchFrameworkMessages();
    EXPECT_TRUE(seen.empty());
}

TEST_F(MessagesTest, PostedMessagesWaitAndArriveInOrder)
{
    record();
    auto sender = Create<TOwnerElement>();
    auto receiver = Create<TOwnerElement>();
    sender->PostMessage(4, receiver.get(), nullptr);
    PostTextMessage(sender.get(), LumexCode::Info, QStringLiteral("Unknown class: TX"), nullptr);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(PendingFrameworkMessages(), 2);

    DispatchFrameworkMessages();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].code, 4);
    EXPECT_EQ(seen[1].code, LumexCode::Info);
    EXPECT_EQ(seen[1].text, QStringLiteral("Unknown class: TX"));
    EXPECT_EQ(PendingFrameworkMessages(), 0);
}

TEST_F(MessagesTest, ReferencesOfAPostedMessageDoNotDangle)
{
    record();
    Owned<TOwnerElement> sender = Create<TOwnerElement>();
    Owned<TOwnerElement> receiver = Create<TOwnerElement>();
    Owned<TOwnerElement> data = Create<TOwnerElement>();
    sender->PostMessage(1, receiver.get(), data.get());
    sender.reset();
    receiver.reset();
    data.reset();
    DispatchFrameworkMessages();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].sender, nullptr);
    EXPECT_EQ(seen[0].receiver, nullptr);
    EXPECT_EQ(seen[0].data, nullptr);
}

// KillData gives the message one hold on its Data: the data dies with the message unless
// something else still holds it, and does not die under the message.
TEST_F(MessagesTest, KillDataReleasesOnlyTheMessagesHold)
{
    Owned<TLumexMessage> msg = TLumexMessage::CreateMessage(0, nullptr, nullptr, Create<TOwnedProbe>().release());
    msg->SetKillData(true);
    msg.reset();
    EXPECT_EQ(destroyedCount(), 1);

    auto holder = Create<TEntity>();
    auto* kept = holder->AddNew<TOwnedProbe>();
    for (const bool kill : {false, true}) {
        Owned<TLumexMessage> carrier = TLumexMessage::CreateMessage(0, nullptr, nullptr, kept);
        carrier->SetKillData(kill);
        carrier.reset();
        EXPECT_EQ(destroyedCount(), 1);
        EXPECT_EQ(holder->Items(0), kept);
    }

    Owned<TOwnedProbe> owned = Create<TOwnedProbe>();
    Owned<TLumexMessage> carrier = TLumexMessage::CreateMessage(0, nullptr, nullptr, owned.get());
    carrier->SetKillData(true);
    carrier.reset();
    EXPECT_EQ(destroyedCount(), 1);
    owned.reset();   // freed once, by its Owned
    EXPECT_EQ(destroyedCount(), 2);

    carrier = TLumexMessage::CreateMessage(0, nullptr, nullptr, kept);
    carrier->SetKillData(true);
    holder->RemoveAndFree(kept);   // the message still holds it
    EXPECT_EQ(destroyedCount(), 2);
    EXPECT_EQ(carrier->Data(), kept);
    carrier.reset();
    EXPECT_EQ(destroyedCount(), 3);
}

// An entity that reports its destruction.
class TEntityProbe : public TEntity
{
public:
    ~TEntityProbe() override { ++destroyedCount(); }
    LUMEX_TEST_CLASS(TEntityProbe, TEntity)
};

// A KillData message kept inside its own Data: whichever of the two goes first, each is freed
// once.
TEST_F(MessagesTest, KillDataMessageInsideItsDataFreesEachOnce)
{
    auto* data = Create<TEntityProbe>().release();
    Owned<TLumexMessage> msg = TLumexMessage::CreateMessage(0, nullptr, nullptr, data);
    data->Add(msg.get());
    msg->SetKillData(true);
    msg.reset();   // the message's hold was the data's last holder
    EXPECT_EQ(destroyedCount(), 1);

    Owned<TEntityProbe> owned = Create<TEntityProbe>();
    auto* inner = owned->AddNew<TEntity>();
    auto* carried = inner->AddNew<TLumexMessage>();
    carried->SetData(owned.get());
    carried->SetKillData(true);
    owned.reset();   // frees the message on the way, whose hold must not free the data again
    EXPECT_EQ(destroyedCount(), 2);
}

TEST_F(MessagesTest, PostItTakesTheMessageFromItsHolders)
{
    record();
    auto holder = Create<TEntity>();
    auto* sent = holder->AddNew<TLumexMessage>();
    sent->SendIt(9);
    EXPECT_EQ(holder->Count(), 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].code, 9);

    // A queued message no longer belongs to the container: clearing it frees nothing twice.
    auto* posted = holder->AddNew<TLumexMessage>();
    posted->PostIt(4);
    EXPECT_EQ(holder->Count(), 0);
    holder->AddNew<TElement>();
    holder->Clear();
    DispatchFrameworkMessages();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].code, 4);
}

// Posting or sending a message that an Owned pointer holds must not give it a second owner.
TEST_F(MessagesTest, MessageHeldByOwnedStaysWithItsHolder)
{
    record();
    auto sent = TLumexMessage::CreateMessage(3, nullptr, nullptr, nullptr);
    sent->SendIt(6);
    auto posted = TLumexMessage::CreateMessage(3, nullptr, nullptr, nullptr);
    posted->PostIt(7);
    auto dropped = TLumexMessage::CreateMessage(3, nullptr, nullptr, nullptr);
    dropped->PostIt(8);
    dropped.reset();   // freed by its holder before the queue reaches it: skipped
    DispatchFrameworkMessages();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].code, 6);
    EXPECT_EQ(seen[1].code, 7);
    EXPECT_EQ(posted->Message(), 7);
}

TEST_F(MessagesTest, PostToOwnersPostsOnePerOwnerInOrder)
{
    record();
    auto first = Create<TOwnerEntity>();
    auto second = Create<TOwnerEntity>();
    auto* element = first->AddNew<TOwnerElement>();
    second->Add(element);
    auto data = Create<TOwnerElement>();
    element->PostToOwners(1, data.get());
    DispatchFrameworkMessages();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].receiver, first.get());
    EXPECT_EQ(seen[1].receiver, second.get());
}

// An entity that handles messages of one code.
class THandlerProbe : public TOwnerEntity
{
public:
    LUMEX_TEST_CLASS(THandlerProbe, TOwnerEntity)
    void HandleMessage(TLumexMessage& msg, bool& handled) override
    {
        ++calls;
        handled = msg.Message() == accepts;
    }
    qint32 accepts = -1;
    int calls = 0;
};

TEST_F(MessagesTest, DispatchToOwnersStopsAtTheFirstHandler)
{
    auto first = Create<THandlerProbe>();
    auto second = Create<THandlerProbe>();
    auto third = Create<THandlerProbe>();
    first->accepts = 1;
    second->accepts = 5;
    auto* element = first->AddNew<TOwnerElement>();
    second->Add(element);
    third->Add(element);
    Owned<TLumexMessage> msg = TLumexMessage::CreateMessage(5, element, nullptr, nullptr);
    bool handled = false;
    element->DispatchToOwners(*msg, handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(first->calls, 1);
    EXPECT_EQ(second->calls, 1);
    EXPECT_EQ(third->calls, 0);

    auto ownerless = Create<TOwnerElement>();
    handled = false;
    ownerless->DispatchToOwners(*msg, handled);
    EXPECT_TRUE(handled);
}

} // namespace
