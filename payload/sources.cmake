set(PAYLOAD_CORE_SOURCES
  payload/Catalogue.cpp
  payload/Crc32.cpp
)
