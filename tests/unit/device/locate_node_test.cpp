// The simulated configuration manager locates a node by instance ID through
// an index; it must answer as a walk of the device list in order would.
#include <string>

#include "tests/unit/machine_test.h"

namespace {

struct LocateCase {
  const char* title;
  const char* wanted;
  ULONG flags;
  CONFIGRET result;
  DEVINST node;  // what the located handle holds afterwards
};

const DEVINST kUnwritten = 0xA5A5A5A5;

class LocateNode : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    Add("USB\\VID_1&PID_1\\1", true);
    Add("USB\\VID_1&PID_1\\2", false);
    Add("usb\\vid_1&pid_1\\1", false);  // the same ID as node 0 in other letters
    Add("USB\\VID_1&PID_1\\3", true);
  }
  static void Add(const char* id, bool present) {
    sim::DeviceNode node;
    node.instanceId = id;
    node.present = present;
    sim::AddDevice(node);
  }
};

TEST_F(LocateNode, FindsTheFirstNodeOfAnIdWithoutRegardToCase) {
  const LocateCase cases[] = {
      {"exact", "USB\\VID_1&PID_1\\3", 0, CR_SUCCESS, 3},
      {"other letters", "Usb\\Vid_1&Pid_1\\3", 0, CR_SUCCESS, 3},
      {"shared ID: the first added", "usb\\VID_1&pid_1\\1", 0, CR_SUCCESS, 0},
      {"phantom, plain search", "USB\\VID_1&PID_1\\2", 0, CR_NO_SUCH_DEVNODE, kUnwritten},
      {"phantom, phantom search", "USB\\VID_1&PID_1\\2", CM_LOCATE_DEVNODE_PHANTOM, CR_SUCCESS, 1},
      {"unknown", "USB\\VID_1&PID_1\\4", CM_LOCATE_DEVNODE_PHANTOM, CR_NO_SUCH_DEVNODE, kUnwritten},
      {"prefix of an ID", "USB\\VID_1&PID_1\\", CM_LOCATE_DEVNODE_PHANTOM, CR_NO_SUCH_DEVNODE,
       kUnwritten},
  };
  for (const LocateCase& c : cases) {
    DEVINST node = kUnwritten;
    std::string wanted = c.wanted;
    EXPECT_EQ(CM_Locate_DevNodeA(&node, &wanted[0], c.flags), c.result) << c.title;
    EXPECT_EQ(node, c.node) << c.title;
  }
}

}  // namespace
