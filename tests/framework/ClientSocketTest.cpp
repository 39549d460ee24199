#include "ClientSocket.h"
#include "LoopbackListener.h"

#include <gtest/gtest.h>

#include <stdio.h>

namespace {

class ClientSocketTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.IsStarted()); }
    SocketLibrary library;
};

TEST_F(ClientSocketTest, StartupAndReleaseBalance)
{
    ClientSocket none;
    EXPECT_EQ(0, none.started);
    EXPECT_EQ(INVALID_SOCKET, none.socketHandle);
    none.Release();  // nothing was started, so nothing is cleaned up

    ClientSocket socket;
    EXPECT_EQ(0, socket.Startup());
    EXPECT_EQ(1, socket.started);
    EXPECT_EQ(0x0101, socket.wsaData.wVersion);
    socket.Release();
    EXPECT_EQ(0, socket.started);
    socket.Release();  // a second release must not clean up a second time

    // The test's own start of the library is still in force.
    SOCKET probe = ::socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_NE(INVALID_SOCKET, probe);
    closesocket(probe);
}

TEST_F(ClientSocketTest, ResolvesNamesAndDottedAddresses)
{
    EXPECT_EQ(nullptr, ClientSocket::Resolve(nullptr));
    HOSTENT* local = ClientSocket::Resolve("localhost");
    ASSERT_NE(nullptr, local);
    EXPECT_EQ(AF_INET, local->h_addrtype);
    EXPECT_EQ(nullptr, ClientSocket::Resolve("no-such-host.invalid"));
    // The dotted form goes through the reverse lookup; where it has an entry,
    // the entry carries the address.
    HOSTENT* dotted = ClientSocket::Resolve("127.0.0.1");
    if (dotted) {
        ASSERT_EQ(4, dotted->h_length);
        EXPECT_EQ(htonl(INADDR_LOOPBACK), reinterpret_cast<in_addr*>(dotted->h_addr_list[0])->s_addr);
    }
}

TEST_F(ClientSocketTest, OpenFillsThePeerAddressOrFailsWithoutASocket)
{
    ClientSocket socket;
    ASSERT_EQ(0, socket.Startup());

    EXPECT_FALSE(socket.Open(9801, nullptr));
    EXPECT_EQ(INVALID_SOCKET, socket.socketHandle);

    EXPECT_FALSE(socket.Open(9801, "no-such-host.invalid"));
    EXPECT_EQ(INVALID_SOCKET, socket.socketHandle);
    EXPECT_FALSE(socket.Connect());

    ASSERT_TRUE(socket.Open(9801, "127.0.0.1"));
    EXPECT_NE(INVALID_SOCKET, socket.socketHandle);
    EXPECT_EQ(AF_INET, socket.peerAddress.sin_family);
    const unsigned char* port = reinterpret_cast<const unsigned char*>(&socket.peerAddress.sin_port);
    EXPECT_EQ(0x26, port[0]);
    EXPECT_EQ(0x49, port[1]);
    EXPECT_EQ(htonl(INADDR_LOOPBACK), socket.peerAddress.sin_addr.s_addr);

    ASSERT_TRUE(socket.Open(70000, "localhost"));  // only the low 16 bits count
    EXPECT_EQ(4464, ntohs(socket.peerAddress.sin_port));
    EXPECT_EQ(htonl(INADDR_LOOPBACK), socket.peerAddress.sin_addr.s_addr);
    socket.Close();
    EXPECT_EQ(INVALID_SOCKET, socket.socketHandle);
}

TEST_F(ClientSocketTest, SendsBytesToTheServer)
{
    LoopbackListener listener;
    ASSERT_TRUE(listener.IsListening());
    ClientSocket socket;
    ASSERT_EQ(0, socket.Startup());
    ASSERT_TRUE(socket.Open(listener.Port(), "127.0.0.1"));
    ASSERT_TRUE(socket.Connect());
    EXPECT_EQ(5, socket.Send("hello", 5, 0));
    socket.Close();
    EXPECT_EQ("hello", listener.ReceiveAll());

    // The bounded connect leaves a blocking socket behind for the send.
    std::string big(200000, 'x');
    ASSERT_TRUE(socket.Open(listener.Port(), "localhost"));
    ASSERT_TRUE(socket.ConnectWithin(1000));
    SOCKET server = listener.Accept(5000);
    ASSERT_NE(INVALID_SOCKET, server);
    EXPECT_EQ(static_cast<int>(big.size()), socket.Send(big.data(), static_cast<int>(big.size()), 0));
    socket.Close();
    EXPECT_EQ(big.size(), LoopbackListener::ReadUntilClosed(server, 5000).size());
    closesocket(server);
}

TEST_F(ClientSocketTest, ASecondOpenClosesTheFirstConnection)
{
    LoopbackListener listener;
    ClientSocket socket;
    ASSERT_EQ(0, socket.Startup());
    ASSERT_TRUE(socket.Open(listener.Port(), "127.0.0.1"));
    ASSERT_TRUE(socket.Connect());
    SOCKET first = listener.Accept(5000);
    ASSERT_NE(INVALID_SOCKET, first);

    ASSERT_TRUE(socket.Open(listener.Port(), "127.0.0.1"));
    EXPECT_TRUE(LoopbackListener::PeerClosed(first, 5000));
    closesocket(first);
    socket.Close();
}

TEST_F(ClientSocketTest, ARefusedConnectionLeavesNoSocket)
{
    int port = UnusedLoopbackPort();
    ClientSocket socket;
    ASSERT_EQ(0, socket.Startup());
    ASSERT_TRUE(socket.Open(port, "127.0.0.1"));
    EXPECT_FALSE(socket.Connect());
    EXPECT_EQ(INVALID_SOCKET, socket.socketHandle);

    ASSERT_TRUE(socket.Open(port, "127.0.0.1"));
    DWORD start = GetTickCount();
    EXPECT_FALSE(socket.ConnectWithin(1000));
    printf("refused bounded connect took %lu ms\n", GetTickCount() - start);
    EXPECT_EQ(INVALID_SOCKET, socket.socketHandle);
    EXPECT_FALSE(socket.ConnectWithin(1000));  // nothing left to connect
}

}  // namespace
