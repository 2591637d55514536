// The camera search: what the program's search gives, and every node that
// its passes meet whose hardware IDs match the table, which one it takes and
// why, and, for a composite device, the functions beneath it.
#include "device/composite_function.h"
#include "device/device_node.h"
#include "device/find_camera_device.h"
#include "device/hardware_id_list.h"
#include "device/hardware_id_table.h"
#include "device/multi_string.h"
#include "report/output.h"
#include "report/run_picture.h"

namespace {

struct Survey {
  Output* out;
  const char* const* rows;
  DWORD met;   // matching nodes met
  int loaded;  // a match with its driver loaded ended the pass
  DEVINST taken;
  DWORD takenRow;
  const char* failure;  // a platform call that cut a pass short
  char work[kIdListBufferSize];
};

void InstanceId(DEVINST node, char* id) {
  id[0] = '\0';
  if (CM_Get_Device_IDA(node, id, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS) id[0] = '\0';
  id[MAX_DEVICE_ID_LEN] = '\0';
}

void ReportNodeId(Output* out, const char* name, DEVINST node) {
  char id[MAX_DEVICE_ID_LEN + 1];
  InstanceId(node, id);
  PutAnsi(out, name, id);
}

void ReportSetupClass(Output* out, DEVINST node) {
  char name[MAX_PATH];
  ULONG length = sizeof name - 1;
  if (CM_Get_DevNode_Registry_PropertyA(node, CM_DRP_CLASS, NULL, name, &length, 0) == CR_SUCCESS) {
    name[length < sizeof name ? length : sizeof name - 1] = '\0';
    PutAnsi(out, "class\0setup class", name);
  } else {
    PutNone(out, "class\0setup class", "unreadable");
  }
}

// A node as the search compares it; only one that matches is reported.
void MeetNode(Survey* survey, DEVINST node, LONG pass) {
  DWORD row = 0;
  if (MatchHardwareIdList(survey->work, ReadNodeIdList(node, CM_DRP_HARDWAREID, survey->work),
                          survey->rows, kHardwareIdRowCount, &row)) {
    ULONG status = 0;
    ULONG problem = 0;
    const int statusRead = CM_Get_DevNode_Status(&status, &problem, node, 0) == CR_SUCCESS;
    const int loaded = statusRead && (status & DN_DRIVER_LOADED) != 0;
    if (survey->met < kListedItems) {
      Output* out = survey->out;
      BeginItem(out, "\0matching node");
      ReportNodeId(out, "id\0instance ID", node);
      PutNumber(out, "pass\0met by pass", pass);
      ReportSetupClass(out, node);
      PutFlag(out, "loaded\0driver", loaded, "loaded", "not loaded");
      if (statusRead) {
        PutNumber(out, "problem\0problem number", static_cast<LONG>(problem));
      } else {
        PutNone(out, "problem\0problem number", "status unreadable");
      }
      EndItem(out);
    }
    ++survey->met;
    survey->taken = node;
    survey->takenRow = row;
    survey->loaded = loaded;
  }
}

// The first pass, over the Image-class list, which the caller keeps until
// it is done with the nodes met, as the program does.
void ImageClassPass(Survey* survey, HDEVINFO devices) {
  SP_DEVINFO_DATA entry;
  memset(&entry, 0, sizeof entry);
  entry.cbSize = sizeof entry;
  for (DWORD index = 0; !survey->loaded && SetupDiEnumDeviceInfo(devices, index, &entry); ++index) {
    MeetNode(survey, entry.DevInst, 1);
  }
}

// The second pass goes through the devices of the first row's enumerator.
void EnumeratorPass(Survey* survey) {
  char enumerator[kHardwareIdSlotSize];
  const char* row = survey->rows[0];
  while (*row == '\\') ++row;
  DWORD length = 0;
  while (length < sizeof enumerator - 1 && row[length] != '\0' && row[length] != '\\') ++length;
  memcpy(enumerator, row, length);
  enumerator[length] = '\0';
  ULONG size = 0;
  char* block = NULL;
  if (CM_Get_Device_ID_List_SizeA(&size, enumerator, CM_GETIDLIST_FILTER_ENUMERATOR) ==
          CR_SUCCESS &&
      size != 0) {
    block = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
  }
  if (block == NULL || CM_Get_Device_ID_ListA(enumerator, block, size,
                                              CM_GETIDLIST_FILTER_ENUMERATOR) != CR_SUCCESS) {
    survey->failure = "CM_Get_Device_ID_ListA";
  } else {
    DWORD offset = 0;
    for (DWORD idLength = MeasureMultiStringEntry(block, size, offset);
         !survey->loaded && idLength != 0;
         idLength = MeasureMultiStringEntry(block, size, offset)) {
      DEVINST node = 0;
      if (CM_Locate_DevNodeA(&node, block + offset, CM_LOCATE_DEVNODE_PHANTOM) == CR_SUCCESS) {
        MeetNode(survey, node, 2);
      }
      offset += idLength + 1;
    }
  }
  if (block != NULL) HeapFree(GetProcessHeap(), 0, block);
}

// A composite parent's functions that carry the matched row, and the one
// whose driver key the program reads.
void ReportFunctions(Survey* survey) {
  Output* out = survey->out;
  const char* row = survey->rows[survey->takenRow - 1];
  DWORD listed = 0;
  DEVINST child = survey->taken;
  BeginList(out, "functions\0");
  // A call that reports success without writing leaves the node it was
  // given: the walk ends there rather than meet it again.
  DEVINST current = child;
  CONFIGRET walked = CM_Get_Child(&child, current, 0);
  while (walked == CR_SUCCESS && child != current && listed < kListedItems) {
    if (MatchFunctionIdList(survey->work, ReadNodeIdList(child, CM_DRP_HARDWAREID, survey->work),
                            row)) {
      BeginItem(out, "\0its function");
      ReportNodeId(out, "id\0instance ID", child);
      PutFlag(out, "loaded\0driver", IsDriverLoaded(child), "loaded", "not loaded");
      EndItem(out);
      ++listed;
    }
    current = child;
    walked = CM_Get_Sibling(&child, current, 0);
  }
  EndList(out);
}

void ReportTaken(Survey* survey) {
  Output* out = survey->out;
  PutNumber(out, "matched\0matching nodes met", static_cast<LONG>(survey->met));
  if (survey->failure != NULL) PutWords(out, "failure\0failed call", survey->failure);
  if (survey->met == 0) {
    PutNone(out, "taken\0taken", "none");
    return;
  }
  ReportNodeId(out, "taken\0taken", survey->taken);
  PutWords(out, "why\0because",
           survey->loaded ? "first with its driver loaded" : "last match, none loaded");
  const int composite = IsCompositeParent(survey->taken, survey->work);
  PutFlag(out, "composite\0USB composite parent", composite, "yes", "no");
  if (composite) ReportFunctions(survey);
  ReportNodeId(out, "read\0description read from",
               TakeCameraFunction(survey->taken, survey->rows[survey->takenRow - 1], survey->work));
}

}  // namespace

void ReportCamera(Output* out, RunPicture* run) {
  char productName[MAX_PATH];
  char description[MAX_PATH];
  const char* const rows[kHardwareIdRowCount] = {HardwareIdTable[0], HardwareIdTable[1]};
  DeviceQuery query = {rows, kHardwareIdRowCount, productName, MAX_PATH, description, MAX_PATH};
  BeginSection(out, "camera\0The camera search");
  run->cameraFound = FindCameraDevice(query);
  PutFlag(out, "found\0result", run->cameraFound, "found", "not found");
  PutAnsi(out, "description\0description read", description);
  memcpy(run->friendlyName, description, sizeof run->friendlyName);

  Survey survey;
  memset(&survey, 0, sizeof survey);
  survey.out = out;
  survey.rows = rows;
  // Without the Image-class list the search ends at once, as the program's
  // does: there is no second pass either.
  HDEVINFO devices = SetupDiGetClassDevsA(&GUID_DEVCLASS_IMAGE, NULL, NULL, 0);
  const int listed = devices != INVALID_HANDLE_VALUE && devices != NULL;
  BeginList(out, "nodes\0");
  if (listed) {
    ImageClassPass(&survey, devices);
    if (survey.met == 0) EnumeratorPass(&survey);
  } else {
    survey.failure = "SetupDiGetClassDevsA";
  }
  EndList(out);
  ReportTaken(&survey);
  if (listed) SetupDiDestroyDeviceInfoList(devices);
  EndSection(out);
}
