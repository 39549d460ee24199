#include "ClientSocket.h"
#include "LoopbackListener.h"

#include <gtest/gtest.h>

namespace {

TEST(ClientSocketTest, OpenClosesTheLastConnectionAndLeavesOtherUsersAlone)
{
    SocketLibrary library;  // another user of the library in this process
    ClientSocket socket;
    ASSERT_EQ(0, socket.Startup());
    EXPECT_FALSE(socket.Open(9801, "no-such-host.invalid"));
    EXPECT_EQ(INVALID_SOCKET, socket.socketHandle);

    // A second open closes the first connection; a refusal leaves no socket.
    LoopbackListener listener;
    ASSERT_TRUE(socket.Open(listener.Port(), "127.0.0.1"));
    ASSERT_TRUE(socket.Connect());
    SOCKET first = listener.Accept(5000);
    ASSERT_NE(INVALID_SOCKET, first);
    ASSERT_TRUE(socket.Open(UnusedLoopbackPort(), "127.0.0.1"));
    EXPECT_TRUE(LoopbackListener::PeerClosed(first, 5000));
    closesocket(first);
    EXPECT_FALSE(socket.ConnectWithin(1000));
    EXPECT_EQ(INVALID_SOCKET, socket.socketHandle);
    socket.Release();
    socket.Release();  // a second release must not clean up a second time
    SOCKET probe = ::socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_NE(INVALID_SOCKET, probe) << "the other user's start is still in force";
    closesocket(probe);
}

}  // namespace
