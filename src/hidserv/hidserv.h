/* The HID service library's C interface: the twelve entry points the program looks up, the
 * records it passes in and the event records its callback receives. Plain C so the program can
 * load any library that honours these calls. */
#ifndef QV_HIDSERV_HIDSERV_H
#define QV_HIDSERV_HIDSERV_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define HIDSERV_EXPORT __attribute__((visibility("default")))

/* Which collection of which device a call is about. 16 bytes, no padding. */
typedef struct DeviceIdentity {
    uint32_t flags;      /* always 0x0000000F */
    uint16_t vendorId;   /* 0x0C45 */
    uint16_t productId;  /* 0x5304 */
    uint16_t usagePage;
    uint16_t usage;
    uint32_t reserved;   /* 0 */
} DeviceIdentity;

#define HIDSERV_IDENTITY_FLAGS 0x0000000Fu
#define HIDSERV_VENDOR_ID 0x0C45u
#define HIDSERV_PRODUCT_ID 0x5304u
/* The keyboard's three collections by usage page / usage. */
#define HIDSERV_VENDOR_PAGE 0xFF1Cu
#define HIDSERV_VENDOR_USAGE 0x0092u
#define HIDSERV_CONSUMER_PAGE 0x000Cu
#define HIDSERV_CONSUMER_USAGE 0x0001u
#define HIDSERV_STATUS_PAGE 0x0008u
#define HIDSERV_STATUS_USAGE 0x0089u

/* ListenerTag values: who a request belongs to. */
typedef uint32_t ListenerTag;
#define HIDSERV_TAG_VENDOR 0x4354524Cu
#define HIDSERV_TAG_CONSUMER 0x434F4E53u
#define HIDSERV_TAG_STATUS 0x004C4544u

#define HIDSERV_EVENT_PRESENCE 0
#define HIDSERV_EVENT_DATA 1

/* Kept by a standing read; offset 28 points to the latest report (packed to 4 so the pointer
 * sits exactly there on 64-bit builds too). */
#pragma pack(push, 4)
typedef struct HidServReadBlock {
    uint8_t reserved[28];
    const uint8_t* latestReport;
} HidServReadBlock;
#pragma pack(pop)

typedef struct HidServRequest {
    ListenerTag tag;           /* offset 0 */
    uint32_t count;            /* offset 4: bytes received (data) or keyboards present (presence) */
    const uint8_t* data;       /* offset 8 */
    const HidServReadBlock* block; /* offset 16 */
} HidServRequest;

typedef struct HidServEvent {
    int32_t kind;              /* offset 0: HIDSERV_EVENT_DATA or HIDSERV_EVENT_PRESENCE */
    int32_t reserved;
    const HidServRequest* request; /* offset 8 */
} HidServEvent;

/* Runs on the library's own threads. The records live only for the call. */
typedef int (*HidServCallback)(const HidServEvent* event);

/* The twelve entry points. Declared only inside the library: the program never links them, it
 * looks them up by name with the pointer types below. */
#ifdef HIDSERV_BUILDING_LIBRARY
HIDSERV_EXPORT int Debug(int level);
HIDSERV_EXPORT int Init(int reserved);
HIDSERV_EXPORT int End(void);
HIDSERV_EXPORT int RequestGetDeviceCount(const DeviceIdentity* identity, HidServCallback callback,
                                         ListenerTag tag, uint32_t* unitId);
HIDSERV_EXPORT int DeleteRequestFromUnitId(uint32_t unitId);
HIDSERV_EXPORT int DeleteRequestFromHandle(void* handle);
HIDSERV_EXPORT int RequestWrite(const DeviceIdentity* identity, HidServCallback callback,
                                ListenerTag tag, const uint8_t* data, uint32_t length,
                                uint32_t* unitId);
HIDSERV_EXPORT int RequestWriteOne(const DeviceIdentity* identity, HidServCallback callback,
                                   ListenerTag tag, const uint8_t* data, uint32_t length,
                                   uint32_t* unitId);
HIDSERV_EXPORT int RequestStatusWrite(const DeviceIdentity* identity, HidServCallback callback,
                                      ListenerTag tag, const uint8_t* data, uint32_t length,
                                      uint32_t* unitId);
HIDSERV_EXPORT int RequestStatusGet(const DeviceIdentity* identity, HidServCallback callback,
                                    ListenerTag tag, uint8_t* data, uint32_t length,
                                    uint32_t* unitId);
HIDSERV_EXPORT int RequestAsyncRead(const DeviceIdentity* identity, HidServCallback callback,
                                    ListenerTag tag, uint32_t* unitId);
HIDSERV_EXPORT int RequestStatusSetFeature(const DeviceIdentity* identity, HidServCallback callback,
                                           ListenerTag tag, const uint8_t* data, uint32_t length,
                                           uint32_t* unitId);
#endif

/* Beyond the twelve: keyboards that are plugged in but whose device nodes cannot be opened (no
 * udev rule, or not applied yet). They count as absent for the twelve entry points; a caller
 * that wants to tell the user asks here. HidServInaccessibleNodes returns the number of such
 * nodes and copies the first one's path (NUL-terminated, cut to `capacity`) when `path` is given;
 * the callback, once set, runs on a library thread whenever that number changes. */
typedef void (*HidServAccessCallback)(int inaccessibleNodes, void* context);
#ifdef HIDSERV_BUILDING_LIBRARY
HIDSERV_EXPORT int HidServInaccessibleNodes(char* path, uint32_t capacity);
HIDSERV_EXPORT int HidServSetAccessCallback(HidServAccessCallback callback, void* context);
#endif
typedef int (*HidServInaccessibleNodesFn)(char*, uint32_t);
typedef int (*HidServSetAccessCallbackFn)(HidServAccessCallback, void*);

typedef int (*HidServDebugFn)(int);
typedef int (*HidServInitFn)(int);
typedef int (*HidServEndFn)(void);
typedef int (*HidServCountFn)(const DeviceIdentity*, HidServCallback, ListenerTag, uint32_t*);
typedef int (*HidServDeleteUnitFn)(uint32_t);
typedef int (*HidServDeleteHandleFn)(void*);
typedef int (*HidServWriteFn)(const DeviceIdentity*, HidServCallback, ListenerTag, const uint8_t*,
                              uint32_t, uint32_t*);
typedef int (*HidServStatusGetFn)(const DeviceIdentity*, HidServCallback, ListenerTag, uint8_t*,
                                  uint32_t, uint32_t*);
typedef int (*HidServAsyncReadFn)(const DeviceIdentity*, HidServCallback, ListenerTag, uint32_t*);

#ifdef __cplusplus
}
#endif

#endif
