// ChunkRing: the buffers that a split reads its chunks into, and who computes their digests.
#pragma once

#include "split/Sha256.h"
#include "split/SplitRecords.h"
#include "split/WorkerThread.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Every chunk of a split goes into its piece's SHA-256 and the file's. Where
// there is a second processor, a worker thread computes them from a ring of
// chunk buffers while the caller's thread reads and writes: the file's digest
// always (it must see the bytes in order), a piece's as well while the worker
// keeps up, both through one message schedule; while the worker lags, the
// caller hashes the piece itself. Where there is a third processor, a second
// worker computes every piece's digest from the same buffers, the first the
// file's alone, and the caller only reads and writes (not with the SHA
// instructions, which compute both digests on one thread at the cost of one). Elsewhere there is one
// buffer, hashed by the caller as soon as it is read. The workers never call
// out of the ring.
class ChunkRing {
public:
    // A ring for pieceCount pieces read in chunks of at most chunkSize bytes,
    // hashed by options.sha256, with workers as options.worker and
    // options.pieceWorker ask and the system allows.
    ChunkRing(std::int32_t chunkSize, int pieceCount, const SplitOptions& options);
    // Stops the workers and waits for them.
    ~ChunkRing();
    ChunkRing(const ChunkRing&) = delete;
    ChunkRing& operator=(const ChunkRing&) = delete;

    // The chunkSize bytes to read the next chunk into, once the worker no
    // longer needs them; the same ones again until hashChunk.
    char* nextBuffer();
    // The first size bytes of nextBuffer() are the next chunk of the file:
    // hashes them into the current piece's digest and the file's, or hands
    // them to the worker. They stay as they are until the next nextBuffer().
    void hashChunk(std::size_t size);
    // Ends the current piece; the next chunk starts the next one.
    void endPiece();
    // Stops the workers, waiting for them, and gives the digests of the
    // pieces ended, in their order, and of the file.
    SplitDigests finish();

private:
    // One slot of the ring: a chunk to hash, or only a step of the work.
    struct Job {
        std::vector<char> bytes;
        std::size_t size = 0;    // of the chunk in bytes; 0 for a step alone
        bool takesPiece = false; // first the worker's piece digest becomes piece
        Sha256 piece;            // the piece's digest so far, handed from the caller
        bool withPiece = false;  // the chunk goes into the worker's piece digest too
        int endsPiece = -1;      // then the worker's piece digest is that of this piece (0 ...)
        bool stops = false;      // the worker returns, before anything else
    };

    static void work(void* ring);
    void work();
    static void workOnPieces(void* ring);
    void workOnPieces();
    // Whether the caller computes the current piece's digest itself: no
    // worker has it, and no pieces' worker takes every piece.
    bool hashesPieceItself() const { return !m_pieceWithWorker && !m_piecesApart; }
    Job& claim();
    void hand(Job& job);
    void stopWorker();
    void stopPieceWorker();

    Sha256::Engine m_engine;
    std::vector<Job> m_jobs;
    Semaphore m_free, m_filled; // the jobs the caller may fill, and the worker may take
    WorkerThread m_worker;
    bool m_working = false;
    // The pieces' worker, while m_piecesApart: each job is the caller's to
    // fill again once both workers are done with it.
    Semaphore m_pieceFree, m_pieceFilled;
    WorkerThread m_pieceWorker;
    bool m_piecesApart = false;

    // The caller's side.
    std::size_t m_head = 0;         // the job it fills next
    bool m_holding = false;         // whether it has taken m_jobs[m_head] from m_free
    Sha256 m_piece;                 // the current piece's digest while it hashes that itself
    bool m_pieceWithWorker = false; // whether the worker has the current piece's digest
    int m_piecesEnded = 0;
    std::uint32_t m_bytesHanded = 0; // modulo 2^32, like m_bytesHashed: only the difference counts
    std::uint32_t m_handOverLag = 0; // the worker takes the piece when it lags no more bytes

    // The worker's side (the caller's when there is no worker); with the
    // pieces apart, m_workerPiece is the pieces' worker's.
    Sha256 m_file;
    Sha256 m_workerPiece;
    std::atomic<std::uint32_t> m_bytesHashed{0};

    // Each written by whichever side ends that piece; read once the worker is gone.
    std::vector<std::string> m_pieceDigests;
};
