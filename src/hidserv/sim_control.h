/* Control interface of the simulated keyboard, exported by libHidServ.so next to the twelve
 * entry points. For tests and demos; the program itself never calls it. Every call returns -1
 * when the library does not run the simulated keyboard.
 * Memory (the areas below but the status report and update mode) is the one keyboard every
 * process on the same state file sees; being plugged in, the status report, faults, latency and
 * the frame log belong to the calling process. */
#ifndef QV_HIDSERV_SIM_CONTROL_H
#define QV_HIDSERV_SIM_CONTROL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Memory areas the simulated keyboard keeps. */
enum QvSimArea {
    QV_SIM_GLOBAL = 0,      /* 44-byte global block */
    QV_SIM_SETTINGS = 1,    /* 3 x 42-byte settings records */
    QV_SIM_KEY_MATRICES = 2,/* 3 x 378 bytes */
    QV_SIM_MACRO = 3,       /* 32,640 bytes (usable part: capacity byte x 128) */
    QV_SIM_FACTORY = 4,     /* 378-byte factory key matrix */
    QV_SIM_KEY_COLOURS = 5, /* 3 x 512 bytes */
    QV_SIM_STATUS = 6,      /* the 2-byte status report last written */
    QV_SIM_UPDATE_MODE = 7  /* 1 byte: 1 once the update-mode frame arrived */
};

/* Faults applied to the next frames on the vendor collection. */
enum QvSimFault {
    QV_SIM_FAULT_NO_ANSWER = 0,     /* the next n frames are lost */
    QV_SIM_FAULT_WRONG_COMMAND = 1, /* the next n answers carry another command byte */
    QV_SIM_FAULT_STATUS_FF = 2,     /* the next n frames are refused with status 0xFF */
    QV_SIM_FAULT_STATUS_FE = 3,     /* the next n frames are refused with status 0xFE */
    QV_SIM_FAULT_DISCONNECT_AT = 4, /* the keyboard is pulled out when frame n (from now, 1-based)
                                       is written: that write fails and later ones find no keyboard */
    QV_SIM_FAULT_EXTRA_ANSWER = 5,  /* the next n answers are preceded by a report for another
                                       command */
    QV_SIM_FAULT_LATE_ANSWER = 6    /* the answers to the next n frames are held back until the
                                       frame after each arrives */
};

/* Starts over: loads the memory from `statePath` (defaults when the file is absent or unusable;
 * NULL keeps the current path), attaches the keyboard or not, clears faults, latency and log. */
int QvSimReset(const char* statePath, int attached);
/* Plugs the keyboard in (1) or pulls it out (0); listeners get a presence event. */
int QvSimAttach(int attached);
/* 1: the keyboard is pulled out and comes back with device nodes that refuse to open (a missing
 * udev rule); QvSimAttach(1) plugs it in accessible again. 0: accessible, still pulled out. */
int QvSimSetInaccessible(int inaccessible);
/* The keyboard sends a consumer report carrying this code (0x02FF, 0x0401, 0x1810, 0x1811). */
int QvSimSendConsumerCode(uint16_t code);
/* Delay between a frame and its answer. */
int QvSimSetLatencyMicroseconds(uint32_t microseconds);
int QvSimInjectFault(int fault, uint32_t count);
int QvSimClearFaults(void);
/* Faults in the form of QUORVANE_SIM_FAULTS ("status-ff@10*3,disconnect@300"), frames counted
 * from the next one (1 = the next frame). 0 when the list does not parse (nothing is scheduled). */
int QvSimScheduleFaults(const char* list);
int QvSimReadMemory(int area, uint32_t offset, uint8_t* out, uint32_t length);
int QvSimWriteMemory(int area, uint32_t offset, const uint8_t* data, uint32_t length);
/* Frames received on the vendor collection since the last reset (or log clear). */
uint32_t QvSimFrameCount(void);
/* Copies frame `index` (0-based) if it is still kept (the last 16,384 are); 1 on success. */
int QvSimFrameAt(uint32_t index, uint8_t out[64]);
int QvSimClearFrameLog(void);
/* Writes the memory to the state file now. */
int QvSimSave(void);

#ifdef __cplusplus
}
#endif

#endif
