; hello.asm - the first program: print one line.
; Shows: a character string in DC, a word that holds its length,
; and the OUT macro, which prints that many characters from the buffer.
HELLO	START
	OUT	MSG,LEN		; print the greeting
	RET			; back to the system (PR becomes #0000)
MSG	DC	'Hello, COMET II!'
LEN	DC	16		; number of characters in MSG
	END
